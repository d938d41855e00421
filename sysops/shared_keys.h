#pragma once

#include <windows.h>

#include <string>

// True for a key that every program shares, which no uninstall may delete as a tree whatever
// a damaged record says: a root itself, a key such as SOFTWARE\Classes\CLSID or the Windows
// Uninstall key, and every key above one of them (SOFTWARE, Software\Microsoft). The path is
// the subkey under root, compared without regard to case; doubled, leading and trailing
// backslashes do not count.
[[nodiscard]] bool IsSharedRegistryKey(HKEY root, const std::string& path);
