#pragma once

#include <string>

// Compares two texts with ASCII letters folded; the bytes of double-byte characters are
// compared exactly, so a trail byte is never folded as if it were a letter. File names,
// registry words and the sections of the language file compare this way.
[[nodiscard]] bool EqualsNoCase(const std::string& left, const std::string& right);
