#include "base/text_compare.h"

#include "base/double_byte.h"

namespace {

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}

bool EqualsNoCase(const std::string& left, const std::string& right)
{
    if (left.size() != right.size())
        return false;
    for (std::string::size_type i = 0; i < left.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(left[i])) && i + 1 < left.size()) {
            if (left[i] != right[i] || left[i + 1] != right[i + 1])
                return false;
            ++i;
            continue;
        }
        if (FoldAscii(left[i]) != FoldAscii(right[i]))
            return false;
    }
    return true;
}

std::string FoldedNoCase(std::string text)
{
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
            ++i; // both bytes of a double-byte character stay as they are
        else
            text[i] = FoldAscii(text[i]);
    }
    return text;
}
