#pragma once

#include <string>

// Programs and documents that the uninstaller opens for the user (the finish page's entries,
// a script's ShellExec) run with the desktop user's own, unelevated rights where the shell
// allows it: the desktop's shell, which runs unelevated, is asked to open them
// (IShellDispatch2::ShellExecute of the desktop folder view). Where that fails (no desktop
// shell, as under SYSTEM or Wine), the file is opened as before, with the uninstaller's own
// rights, and then an existing file that others can change is not opened at all (see
// write_trust.h); the user is told. Addresses and other names that are not files go to the
// shell as they are. False when nothing was started.
bool OpenForTheUser(const std::string& file, const std::string& parameters, const std::string& folder, int show);
