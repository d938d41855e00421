#include "script/script_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

char FoldAscii(char character)
{
    return (character >= 'a' && character <= 'z') ? static_cast<char>(character - 'a' + 'A') : character;
}

bool IsDigit(char character) { return character >= '0' && character <= '9'; }

bool EndsFirstWord(char character)
{
    switch (character) {
    case ' ': case '%': case '(': case '*': case '+': case '-': case '/': case '=':
        return true;
    default:
        return false;
    }
}

std::string_view::size_type SkipWhiteSpace(std::string_view text)
{
    std::string_view::size_type position = 0;
    while (position < text.size() && IsWhiteSpace(text[position]))
        ++position;
    return position;
}

// Length of the leading decimal number of the text (after white space), 0 when there is none.
std::string_view::size_type DecimalNumberLength(std::string_view text)
{
    std::string_view::size_type position = 0;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
        ++position;
    std::string_view::size_type digits = 0;
    while (position < text.size() && IsDigit(text[position])) {
        ++position;
        ++digits;
    }
    if (position < text.size() && text[position] == '.') {
        ++position;
        while (position < text.size() && IsDigit(text[position])) {
            ++position;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (position < text.size() && (text[position] == 'e' || text[position] == 'E')) {
        auto exponent = position + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (exponent < text.size() && IsDigit(text[exponent])) {
            while (exponent < text.size() && IsDigit(text[exponent]))
                ++exponent;
            position = exponent;
        }
    }
    return position;
}

}

bool SameName(std::string_view left, std::string_view right)
{
    if (left.size() != right.size())
        return false;
    for (std::string_view::size_type i = 0; i < left.size(); ++i) {
        if (left[i] != right[i] && FoldAscii(left[i]) != FoldAscii(right[i]))
            return false;
    }
    return true;
}

bool IsWhiteSpace(char character)
{
    switch (character) {
    case ' ': case '\t': case '\n': case '\v': case '\f': case '\r':
        return true;
    default:
        return false;
    }
}

std::string_view TrimBlanks(std::string_view text)
{
    auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string_view TrimLeadingBlanks(std::string_view text)
{
    auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view TrimWhiteSpace(std::string_view text)
{
    std::string_view::size_type first = 0;
    while (first < text.size() && IsWhiteSpace(text[first]))
        ++first;
    auto last = text.size();
    while (last > first && IsWhiteSpace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

TextSplit SplitAtSeparator(std::string_view text, std::string_view separator)
{
    auto found = text.find(separator);
    if (found == std::string_view::npos)
        return {TrimBlanks(text), {}};
    return {TrimBlanks(text.substr(0, found)), TrimBlanks(text.substr(found + separator.size()))};
}

TextSplit SplitFirstWord(std::string_view text)
{
    text = TrimLeadingBlanks(text);
    std::string_view::size_type end = 0;
    while (end < text.size() && !EndsFirstWord(text[end]))
        ++end;
    return {TrimBlanks(text.substr(0, end)), TrimBlanks(text.substr(end))};
}

std::int32_t ReadDecimalInt(std::string_view text)
{
    auto position = SkipWhiteSpace(text);
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }
    std::int64_t magnitude = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    for (; position < text.size() && IsDigit(text[position]); ++position) {
        magnitude = magnitude * 10 + (text[position] - '0');
        if (magnitude > limit)
            magnitude = limit; // held at the limit; the remaining digits change nothing
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

double ReadDecimalNumber(std::string_view text)
{
    text.remove_prefix(SkipWhiteSpace(text));
    auto length = DecimalNumberLength(text);
    if (length == 0)
        return 0.0;
    std::string_view number = text.substr(0, length);
    bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-')
        number.remove_prefix(1);
    double value = 0.0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: the C library's reading gives infinity or 0.
        std::string copy(number);
        value = std::strtod(copy.c_str(), nullptr);
    }
    return negative ? -value : value;
}

std::int32_t TruncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return INT_MAX;
    if (value <= -2147483648.0)
        return INT_MIN;
    return static_cast<std::int32_t>(value);
}

std::string FormatInt(std::int32_t value)
{
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FormatDouble(double value)
{
    // The largest double written with six decimals takes 316 characters.
    char buffer[400];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

bool IsTrueText(std::string_view text) { return ReadDecimalInt(text) != 0; }

bool IsTrueDouble(double value)
{
    if (!std::isfinite(value))
        return false; // written "inf" or "nan", which hold no digits
    if (std::fabs(value) >= 1.0)
        return true;
    if (std::fabs(value) < 0.999)
        return false;
    return IsTrueText(FormatDouble(value));
}
