#pragma once

#include <string>
#include <string_view>

// The keyed scrambling that scripts reach as System.EnVOEStr and System.DeVOEStr. A text
// becomes lowercase hexadecimal digits, transformed in blocks of 8 digits with four 16-bit
// subkeys taken from the key, followed by the text's length in two decimal digits.
//
// The key must give 16 hexadecimal digits: at least one character, each of 0x10 or more.
// Any other key gives the empty text, as does a scrambled text that is malformed.

// The scrambled form of text; the empty text stays empty. Texts of 100 bytes or more get a
// three-digit length that DecodeVoeString cannot read back.
[[nodiscard]] std::string EncodeVoeString(std::string_view text, std::string_view key);
// The text that EncodeVoeString scrambled with the same key; the empty text stays empty.
[[nodiscard]] std::string DecodeVoeString(std::string_view text, std::string_view key);

// The block routine both directions share: applied twice with the same key it gives its
// input back. The input's length must be a multiple of 8 digits of either case; the output
// is lowercase. Empty for a bad key or input.
[[nodiscard]] std::string TransformVoeBlocks(std::string_view hexDigits, std::string_view key);
