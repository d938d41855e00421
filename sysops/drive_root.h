#pragma once

#include <string>

// The path as the system resolves it (GetFullPathNameA: ".." and "." folded, `/` made `\`),
// without one trailing backslash; the text itself when it cannot be resolved.
[[nodiscard]] std::string FullFolderPath(const std::string& path);

// True for the root of a drive or a share: "C:", "C:\", "\\server\share" with or without
// its backslash, their "\\?\" forms, and any path that resolves to one ("\", "C:\Windows\..").
[[nodiscard]] bool IsDriveRoot(const std::string& path);
