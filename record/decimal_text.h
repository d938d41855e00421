#pragma once

#include <string>

// Reads a decimal integer the way the record's writers expect it to be read: leading white
// space and one sign are allowed, reading stops at the first character that is not a digit,
// and a text without digits is 0. Values beyond the 32-bit range are held at its ends, so a
// hostile record cannot overflow the conversion.
[[nodiscard]] int ParseDecimal(const std::string& text);

// The same, starting at offset; position receives the offset just past what was read, and
// the result tells whether any digit was read.
[[nodiscard]] bool ScanDecimal(const std::string& text, std::string::size_type& position, int& value);

// "%d".
[[nodiscard]] std::string FormatDecimal(int value);
