#pragma once

#include <cstddef>
#include <string>

// Deletion at the next restart, for what a program the uninstall does not end still holds:
// Windows carries the scheduled entries out in the order they were made, early in its next
// start, before that program runs again. A folder is therefore scheduled after everything it
// holds.

// Schedules the file, or the folder that will be empty by then, for deletion when Windows next
// starts. Refused (false, error 0) for an empty or relative path, a path that is not there, a
// drive root, a protected system folder, and a path that is a link or lies under one: only
// what the installation put there is ever scheduled. error, when given, receives the system's
// error code when the scheduling itself fails.
[[nodiscard]] bool ScheduleDeletionAtRestart(const std::string& path, unsigned long* error = nullptr);

// Schedules whatever is still inside the folder, and the folder itself: every file first, then
// the folders deepest first, the folder last. Links inside are neither followed nor scheduled.
// The number of entries scheduled; 0 when the folder is gone or refused.
std::size_t ScheduleTreeDeletionAtRestart(const std::string& folder);
