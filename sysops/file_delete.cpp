#include "sysops/file_ops.h"

#include "base/path_text.h"
#include "sysops/drive_root.h"
#include "sysops/folder_entries.h"

#include <windows.h>

#include <vector>

namespace {

// A link goes as what it is, a folder link (junction, directory symbolic link) with
// RemoveDirectoryA and a file link with DeleteFileA; both remove the link and never reach
// its target. No attribute retry: changing a link's attributes could change the target's.
void RemoveLink(const std::string& path, uint32_t attributes)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryA(path.c_str());
    else
        DeleteFileA(path.c_str());
}

void DeleteTree(const std::string& folder);

// The listing is taken first and worked through afterwards, so that deleting does not
// disturb the search that is still open on the folder.
void DeleteEntries(const std::string& folder)
{
    std::vector<FolderEntry> entries;
    ForEachFolderEntry(folder, [&entries](const FolderEntry& entry) {
        entries.push_back(entry);
        return WalkStep::Continue;
    });
    for (const FolderEntry& entry : entries) {
        const std::string path = JoinPath(folder, entry.name);
        if (IsLinkEntry(entry.attributes))
            RemoveLink(path, entry.attributes);
        else if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY)
            DeleteTree(path);
        else
            DeleteFileForced(path);
    }
}

void DeleteTree(const std::string& folder)
{
    DeleteEntries(folder);
    RemoveDirectoryA(folder.c_str());
}

}

void DeleteFileForced(const std::string& path)
{
    if (DeleteFileA(path.c_str()))
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

void DeleteFolderContents(const std::string& path)
{
    if (path.empty() || IsDriveRoot(path))
        return;
    DeleteEntries(WithoutTrailingBackslash(path));
}

bool DeleteFolderTree(const std::string& path)
{
    if (path.empty() || IsDriveRoot(path))
        return true;
    const std::string folder = WithoutTrailingBackslash(path);
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && IsLinkEntry(attributes)) {
        RemoveLink(folder, attributes);
        return true;
    }
    DeleteTree(folder);
    return true;
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
