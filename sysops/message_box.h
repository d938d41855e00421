#pragma once

#include <functional>
#include <string>

// Every message box of the program goes through one replaceable function, so that a silent
// uninstall can answer them unseen and a test can record them instead of waiting for a click.
using MessageBoxHandler = std::function<int(const std::string& text, const std::string& caption, unsigned style)>;

// An empty handler (nullptr) puts the system's message box back.
void SetMessageBoxHandler(MessageBoxHandler handler);

// The window a box is shown over. A box of the system operations belongs to the active window,
// if any; a box of a script, or one shown before any page, has no owner, since the active
// window may then belong to nothing of the uninstall.
enum class BoxOwner { ActiveWindow, None };

// Shows the box; the button that closed it.
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style,
                   BoxOwner owner = BoxOwner::ActiveWindow);
