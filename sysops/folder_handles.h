#pragma once

#include "sysops/file_handle.h"

#include <string>

// Opens the entry name of an opened folder, relative to the folder's handle and never following
// a link (a link is opened as itself where the system can), with the access and the native
// create options given. status receives the system's answer.
FileHandle OpenInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG options, LONG& status);

// Marks what the handle names for deletion when the handle closes; a folder must be empty.
bool DeleteThrough(HANDLE handle);

// The same for a file, which once its attributes are normal is deleted even when it was
// read-only. Never for a link, whose attributes belong to its target where the handle reached it.
bool DeleteFileThrough(HANDLE handle);
