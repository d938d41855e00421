#include "record/decimal_text.h"

#include <climits>
#include <cstdint>

namespace {

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}

bool ScanDecimal(const std::string& text, std::string::size_type& position, int& value)
{
    value = 0;
    auto i = position;
    while (i < text.size() && IsWhiteSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || !IsDigit(text[i]))
        return false;
    // Accumulated as a magnitude that stops growing just past the 32-bit range.
    const int64_t limit = static_cast<int64_t>(INT_MAX) + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (magnitude <= limit)
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (negative)
        value = static_cast<int>(magnitude >= limit ? INT_MIN : -magnitude);
    else
        value = static_cast<int>(magnitude > INT_MAX ? INT_MAX : magnitude);
    position = i;
    return true;
}

int ParseDecimal(const std::string& text)
{
    std::string::size_type position = 0;
    int value = 0;
    (void)ScanDecimal(text, position, value);
    return value;
}

std::string FormatDecimal(int value) { return std::to_string(value); }
