#pragma once

#include <string>

enum class ShellNotification { Skip, Send };

// Removes one entry of the shell-object list, "Type,Path": a program group ("Group", any
// case) only when it is empty, a shortcut ("Shortcut") with one plain deletion. With Send,
// the shell hears of the deletion and of the change to the parent folder. False for fewer
// than two fields or another type, which notifies nothing; true otherwise.
bool RemoveShellObject(const std::string& item, ShellNotification notification);
