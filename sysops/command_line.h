#pragma once

#include <string>

// A program path as the start of a command line. A path with a blank is put in quotes:
// unquoted, the system would try each blank-cut prefix first ("C:\Program.exe" for
// "C:\Program Files\..."), and a file planted there would run instead. Paths without a
// blank, and texts already in quotes, stay as they are.
[[nodiscard]] std::string QuotedProgramPath(const std::string& path);
