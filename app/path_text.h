#pragma once

#include <string>

// Path texts are 8-bit strings in the system's ANSI code page. In a double-byte code page
// (Japanese 932, for one) the trail byte of a character can be 0x5C, the backslash, so every
// search for a separator walks the text character by character instead of byte by byte.

// Tells whether a byte begins a double-byte character in the current ANSI code page.
// The Windows build installs IsDBCSLeadByte; natively no byte is a lead byte until a test
// installs its own table.
using LeadByteTest = bool (*)(unsigned char byte);
void SetLeadByteTest(LeadByteTest test);
[[nodiscard]] bool IsLeadByte(unsigned char byte);

// Offset of the last backslash that is a character of its own, or std::string::npos.
[[nodiscard]] std::string::size_type FindLastBackslash(const std::string& path);

// Empty when the path is empty or holds no backslash; else the text left of the last one.
[[nodiscard]] std::string GetFolderPart(const std::string& path);

// The text right of the last backslash when that backslash is past the first character;
// else the whole path.
[[nodiscard]] std::string GetFileNamePart(const std::string& path);

// Compares two texts with ASCII letters folded; the bytes of double-byte characters are
// compared exactly, so a trail byte is never folded as if it were a letter.
[[nodiscard]] bool EqualsNoCase(const std::string& left, const std::string& right);

// The path without one trailing backslash (a lone trail byte 0x5C is not a backslash).
[[nodiscard]] std::string WithoutTrailingBackslash(const std::string& path);

// "%s\%s": a folder and a name joined by one backslash.
[[nodiscard]] std::string JoinPath(const std::string& folder, const std::string& name);
