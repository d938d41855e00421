#include "app/run/cleanup_request.h"

#include "base/path_text.h"

CleanupRequest ParseCleanupParameter(const std::string& parameter)
{
    CleanupRequest request;
    auto comma = parameter.find(',');
    if (comma == std::string::npos) {
        request.folder = parameter;
        return request;
    }
    // Leading digits only; anything else ends the number, and no digits mean no process.
    unsigned long long id = 0;
    for (std::string::size_type i = 0; i < comma && parameter[i] >= '0' && parameter[i] <= '9'; ++i) {
        id = id * 10 + static_cast<unsigned>(parameter[i] - '0');
        if (id > 0xFFFFFFFFull) { // no process has such an id; do not wait for a wrapped one
            id = 0;
            break;
        }
    }
    request.processId = static_cast<unsigned long>(id);
    request.folder = parameter.substr(comma + 1);
    return request;
}

std::string FormatCleanupParameter(unsigned long processId, const std::string& folder)
{
    // A folder that ends in a backslash would turn the closing quote into an escaped quote on
    // the other side's command line, so the copy would look for a folder that ends in '"'.
    return "\"" + std::to_string(processId) + "," + WithoutTrailingBackslash(folder) + "\"";
}
