#pragma once

#include <string>

// Removes a folder tree only where it holds no files: subfolders without files go even when a
// sibling holds a file, while a folder that holds a file, and every folder above it, stays.
// No file is ever deleted. A junction or symbolic link inside the tree is never followed (its
// target is somebody else's folder) and counts as content, so it and its parents stay.
bool RemoveEmptyTree(const std::string& path);
