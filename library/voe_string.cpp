#include "library/voe_string.h"

#include "script/script_text.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace {

constexpr std::size_t KeyLength = 8;
constexpr std::size_t BlockDigits = 8;

using Subkeys = std::array<std::uint16_t, 4>;

int HexDigitValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    return -1;
}

// Four hexadecimal digits as a 16-bit word; none when a character is no digit.
std::optional<std::uint16_t> ReadWord(std::string_view digits)
{
    unsigned word = 0;
    for (char digit : digits.substr(0, 4)) {
        int value = HexDigitValue(digit);
        if (value < 0)
            return std::nullopt;
        word = (word << 4) | static_cast<unsigned>(value);
    }
    return static_cast<std::uint16_t>(word);
}

void AppendWord(std::string& text, std::uint16_t word)
{
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04x", static_cast<unsigned>(word));
    text.append(digits, 4);
}

// The key repeated to 8 characters, each written "%x" without a leading zero; the first
// digit moves to the end, and 16 digits make the subkeys. A key character below 0x10 gives
// a single digit, so such keys (and the empty key) fall short and are refused.
std::optional<Subkeys> ScheduleKey(std::string_view key)
{
    if (key.empty())
        return std::nullopt;
    std::string digits;
    for (std::size_t index = 0; index < KeyLength; ++index) {
        char piece[3];
        std::snprintf(piece, sizeof piece, "%x", static_cast<unsigned>(static_cast<unsigned char>(key[index % key.size()])));
        digits += piece;
    }
    if (digits.size() != 2 * KeyLength)
        return std::nullopt;
    digits = digits.substr(1) + digits.front();
    Subkeys subkeys{};
    for (std::size_t index = 0; index < subkeys.size(); ++index)
        subkeys[index] = *ReadWord(std::string_view(digits).substr(4 * index, 4));
    return subkeys;
}

std::uint16_t SwapBytes(std::uint16_t word) { return static_cast<std::uint16_t>((word << 8) | (word >> 8)); }

std::uint16_t Plus(std::uint16_t left, std::uint16_t right) { return static_cast<std::uint16_t>(left + right); }

// One round: L takes R and the first subkey, R takes the new L and the second.
void Round(std::uint16_t& left, std::uint16_t& right, std::uint16_t first, std::uint16_t second)
{
    left ^= Plus(right, first);
    right ^= Plus(left, second);
}

// The halves change places, each with its two bytes exchanged.
void CrossOver(std::uint16_t& left, std::uint16_t& right)
{
    std::uint16_t oldLeft = left;
    left = SwapBytes(right);
    right = SwapBytes(oldLeft);
}

void TransformBlock(std::uint16_t& left, std::uint16_t& right, const Subkeys& k)
{
    Round(left, right, k[0], k[1]);
    CrossOver(left, right);
    Round(left, right, k[2], k[3]);
    CrossOver(left, right);
    Round(left, right, k[3], k[2]);
    CrossOver(left, right);
    Round(left, right, k[1], k[0]);
}

std::string HexOf(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * bytes.size());
    for (char byte : bytes) {
        auto value = static_cast<unsigned char>(byte);
        hex += digits[value >> 4];
        hex += digits[value & 0x0F];
    }
    return hex;
}

}

std::string TransformVoeBlocks(std::string_view hexDigits, std::string_view key)
{
    std::optional<Subkeys> subkeys = ScheduleKey(key);
    if (!subkeys || hexDigits.size() % BlockDigits != 0)
        return {};
    std::string output;
    output.reserve(hexDigits.size());
    for (std::size_t start = 0; start < hexDigits.size(); start += BlockDigits) {
        std::optional<std::uint16_t> left = ReadWord(hexDigits.substr(start, 4));
        std::optional<std::uint16_t> right = ReadWord(hexDigits.substr(start + 4, 4));
        if (!left || !right)
            return {};
        TransformBlock(*left, *right, *subkeys);
        AppendWord(output, *right);
        AppendWord(output, *left);
    }
    return output;
}

std::string EncodeVoeString(std::string_view text, std::string_view key)
{
    if (text.empty())
        return {};
    std::string padded(text);
    while (padded.size() % 4 != 0)
        padded += '0';
    std::string transformed = TransformVoeBlocks(HexOf(padded), key);
    if (transformed.empty())
        return {};
    char count[16];
    std::snprintf(count, sizeof count, "%02zu", text.size());
    return transformed + count;
}

std::string DecodeVoeString(std::string_view text, std::string_view key)
{
    if (text.size() < 2)
        return {};
    std::int32_t count = ReadDecimalInt(text.substr(text.size() - 2));
    std::string hex = TransformVoeBlocks(text.substr(0, text.size() - 2), key);
    if (count <= 0 || hex.size() < 2 * static_cast<std::size_t>(count))
        return {};
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(count));
    for (std::size_t index = 0; index < static_cast<std::size_t>(count); ++index) {
        int high = HexDigitValue(hex[2 * index]);
        int low = HexDigitValue(hex[2 * index + 1]);
        bytes += static_cast<char>((high << 4) | low);
    }
    return bytes;
}
