#include "record/record_fields.h"

#include <cstring>

namespace {

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}

bool SplitRecordFields(const std::string& text, std::size_t count, std::vector<std::string>& fields)
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

std::string JoinRecordFields(const std::vector<std::string>& fields)
{
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += ',';
        text += fields[i];
    }
    return text;
}

bool EqualsKeyword(const std::string& text, const char* keyword)
{
    const std::size_t length = std::strlen(keyword);
    if (text.size() != length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (FoldAscii(text[i]) != FoldAscii(keyword[i]))
            return false;
    }
    return true;
}
