#pragma once

#include <string>

enum class LaunchWait { Return, UntilEnded };

// Starts a program: with a parameter, the command line is the program, a blank and the
// parameter in double quotes; without one, the program path alone. A program that cannot be
// started is reported in a message box. UntilEnded keeps dispatching window messages until
// the program ends or a quit message arrives.
void LaunchProgram(const std::string& command, const std::string& parameter, LaunchWait wait);
