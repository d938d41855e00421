#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Text rules shared by every phase of the engine: how names compare, how words are cut off a
// line, and the plain decimal readings and writings of numbers. Nothing here looks at the
// locale, so a script computes the same on every machine.

// No text a script builds grows beyond this: an addition or replacement that would make a longer
// one fails instead, so that a script doubling a string in a loop cannot exhaust memory.
inline constexpr std::size_t MaximumTextLength = 64 * 1024 * 1024;

// Names of variables, functions, keywords and classes compare with ASCII letters folded.
[[nodiscard]] bool SameName(std::string_view left, std::string_view right);

// Blanks are spaces only; white space is what the C library calls space (tab, line feed...).
[[nodiscard]] bool IsWhiteSpace(char character);
[[nodiscard]] std::string_view TrimBlanks(std::string_view text);
[[nodiscard]] std::string_view TrimLeadingBlanks(std::string_view text);
[[nodiscard]] std::string_view TrimWhiteSpace(std::string_view text);

// A text cut in two; `rest` is empty when the cut found nothing.
struct TextSplit {
    std::string_view first;
    std::string_view rest;
};

// The part before the first occurrence of the separator and the part after it, both trimmed
// of blanks; without the separator the first part is the whole (trimmed) text.
[[nodiscard]] TextSplit SplitAtSeparator(std::string_view text, std::string_view separator);

// The first word ends before a blank, "%", "(", "*", "+", "-", "/" or "="; the rest starts at
// that character. Both parts are trimmed of blanks.
[[nodiscard]] TextSplit SplitFirstWord(std::string_view text);

// Leading white space, an optional sign, then as many digits as follow; anything after them is
// ignored and no digits give 0. Values beyond 32 bits are held at the nearest limit.
[[nodiscard]] std::int32_t ReadDecimalInt(std::string_view text);

// The longest leading part that forms a decimal floating-point number (white space, sign,
// digits, fraction, exponent); no digits give 0. Hexadecimal, "inf" and "nan" are not numbers.
[[nodiscard]] double ReadDecimalNumber(std::string_view text);

// A number truncated toward zero into 32 bits; out of range is held at the nearest limit and
// NaN gives 0, so no conversion is ever undefined.
[[nodiscard]] std::int32_t TruncateToInt32(double value);

// "%d" and "%f" (six decimals), written the same way on every platform.
[[nodiscard]] std::string FormatInt(std::int32_t value);
[[nodiscard]] std::string FormatDouble(double value);

// The truth of a text: read as a decimal integer, non-zero is true.
[[nodiscard]] bool IsTrueText(std::string_view text);

// The truth of a double as its "%f" text reads, without writing the text when the answer is
// plain: 0.9999996 is true (it is written 1.000000), 0.5 and infinity are false.
[[nodiscard]] bool IsTrueDouble(double value);
