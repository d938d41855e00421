#pragma once

#include <string>

// Path texts in the system's ANSI code page, searched character by character (see
// base/double_byte.h) so that a trail byte 0x5C is never taken for a backslash.

// Offset of the last backslash that is a character of its own, or std::string::npos.
[[nodiscard]] std::string::size_type FindLastBackslash(const std::string& path);

// Empty when the path is empty or holds no backslash; else the text left of the last one.
[[nodiscard]] std::string GetFolderPart(const std::string& path);

// The text right of the last backslash when that backslash is past the first character;
// else the whole path.
[[nodiscard]] std::string GetFileNamePart(const std::string& path);

// A file name without the text from its last dot on ("UnInstall.exe" gives "UnInstall");
// a name without a dot is whole.
[[nodiscard]] std::string WithoutExtension(const std::string& name);

// The path without one trailing backslash (a lone trail byte 0x5C is not a backslash).
[[nodiscard]] std::string WithoutTrailingBackslash(const std::string& path);

// "%s\%s": a folder and a name joined by one backslash.
[[nodiscard]] std::string JoinPath(const std::string& folder, const std::string& name);
