#pragma once

#include <string>

// Whether a command line, such as a service's binary path, starts the program file, compared
// without case as whole paths. A quoted program is the text inside its quotes, whatever
// follows them; an unterminated quote names no program. An unquoted command line is the
// program when it is the whole text, or when the program holds no blank and the text goes on
// after it with a blank and its arguments. An unquoted program with a blank that is followed
// by arguments never matches: Windows would try the text before its first blank as a program
// first ("C:\Program" for "C:\Program Files\App\svc.exe -run"), so it may start another file.
[[nodiscard]] bool CommandStartsProgram(const std::string& commandLine, const std::string& program);
