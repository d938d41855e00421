#pragma once

#include <string>

// Compares two texts with ASCII letters folded; the bytes of double-byte characters are
// compared exactly, so a trail byte is never folded as if it were a letter. File names,
// registry words and the sections of the language file compare this way.
[[nodiscard]] bool EqualsNoCase(const std::string& left, const std::string& right);

// The text with its letters folded the way EqualsNoCase folds them: two texts are equal
// without case exactly when their folded texts are equal, so the folded text can key a set.
[[nodiscard]] std::string FoldedNoCase(std::string text);
