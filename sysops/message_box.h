#pragma once

#include <string>

// The few message boxes of the system operations ("Couldn't open service manager",
// "CreateProcess is error: %s") go through one replaceable function, so that a test can
// record them instead of waiting for a click.
using MessageBoxHandler = int (*)(const std::string& text, const std::string& caption, unsigned style);

// nullptr puts the system's message box back.
void SetMessageBoxHandler(MessageBoxHandler handler);

// Shows the box over the active window, if any; the button that closed it.
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style);
