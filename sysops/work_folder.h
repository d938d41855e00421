#pragma once

#include <string>

// Everything the uninstaller puts into the temp folder goes into a folder of its own: a new
// folder with a random name, created with an access list that lets only Administrators,
// SYSTEM and the account the uninstaller runs as write to it. The creation fails when the
// name exists, so nobody can have prepared it, and nothing in it can be planted or swapped by
// another account. Its name begins with kWorkFolderPrefix.
inline constexpr const char* kWorkFolderPrefix = "UnInstall-";

// The new folder's path; empty when the temp folder is missing or too long, or no folder
// could be created.
[[nodiscard]] std::string CreateWorkFolder();

// Whether the path names a work folder: directly in the temp folder, with the prefix.
[[nodiscard]] bool IsWorkFolder(const std::string& folder);

// Removes the work folder with its files, as far as it can: what is still in use, as the
// running cleanup copy's own program is, goes at the next restart instead (which needs
// administrator rights). Folders that are not work folders are left alone.
void RemoveWorkFolder(const std::string& folder);
