#include "sysops/item_fields.h"

bool SplitItemFields(const std::string& text, std::size_t count, std::vector<std::string>& fields)
{
    fields.clear();
    std::string::size_type start = 0;
    while (fields.size() < count) {
        const auto comma = text.find(',', start);
        if (comma == std::string::npos) {
            fields.push_back(text.substr(start));
            break;
        }
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    if (fields.size() == count)
        return true;
    fields.clear();
    return false;
}
