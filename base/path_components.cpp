#include "base/path_components.h"

#include "base/double_byte.h"

std::vector<std::string> SplitPathComponents(const std::string& path)
{
    std::vector<std::string> components(1);
    for (std::string::size_type i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < path.size()) {
            components.back() += c;
            components.back() += path[++i];
        } else if (c == '\\' || c == '/') {
            components.emplace_back();
        } else {
            components.back() += c;
        }
    }
    return components;
}
