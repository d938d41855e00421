#include "sysops/file_ops.h"

#include "base/path_text.h"
#include "sysops/drive_root.h"
#include "sysops/folder_entries.h"
#include "sysops/folder_walk.h"

#include <windows.h>


namespace {

// The same refusals for every walk that removes: an empty text, a drive root, and a system
// folder or one that holds a system folder.
bool IsRefusedTree(const std::string& path)
{
    return path.empty() || IsDriveRoot(path) || IsProtectedSystemFolder(path);
}

bool IsGone(const std::string& path) { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; }

}

FileDeletion DeleteFileForced(const std::string& path)
{
    if (DeleteFileA(path.c_str()))
        return {FileDeletion::Deleted};
    const DWORD firstError = GetLastError();
    // Nothing to force when the file is not there.
    if (firstError == ERROR_FILE_NOT_FOUND || firstError == ERROR_PATH_NOT_FOUND)
        return {FileDeletion::Missing, firstError};
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.c_str()))
        return {FileDeletion::Deleted};
    return {FileDeletion::Failed, GetLastError()};
}

void DeleteFolderContents(const std::string& path)
{
    if (IsRefusedTree(path))
        return;
    (void)RemoveTree(WithoutTrailingBackslash(path), TreeRemoval::Everything, false, {});
}

bool DeleteFolderTree(const std::string& path)
{
    if (IsRefusedTree(path))
        return false;
    const std::string folder = WithoutTrailingBackslash(path);
    (void)RemoveTree(folder, TreeRemoval::Everything, true, {});
    return IsGone(folder);
}

bool RemoveEmptyTree(const std::string& path, const std::function<void()>& pump)
{
    if (path.empty())
        return true;
    if (IsRefusedTree(path))
        return false;
    const std::string folder = WithoutTrailingBackslash(path);
    (void)RemoveTree(folder, TreeRemoval::EmptyFolders, true, pump);
    return IsGone(folder);
}

bool IsFolderEmpty(const std::string& path)
{
    if (path.empty())
        return false;
    bool empty = true;
    ForEachFolderEntry(WithoutTrailingBackslash(path), [&empty](const FolderEntry&) {
        empty = false;
        return WalkStep::Stop;
    });
    return empty;
}
