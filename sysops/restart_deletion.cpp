#include "sysops/restart_deletion.h"

#include "base/path_text.h"
#include "base/text_compare.h"
#include "sysops/drive_root.h"
#include "sysops/file_ops.h"
#include "sysops/folder_entries.h"

#include <windows.h>

#include <vector>

namespace {

// Deeper than any installation's tree; a damaged or looping tree stops there.
constexpr int kTreeDepthLimit = 64;

bool IsAbsolute(const std::string& path)
{
    const bool drivePath = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
    const bool networkPath = path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
    return drivePath || networkPath;
}

// The path and every folder above it, up to the drive root, are there and none is a link: a
// link on the way could lead the deletion, carried out long after this check, anywhere.
bool IsPlainPathToTheRoot(const std::string& path)
{
    for (std::string step = path; !step.empty() && !IsDriveRoot(step); step = GetFolderPart(step)) {
        const DWORD attributes = GetFileAttributesA(step.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || IsLinkEntry(attributes))
            return false;
    }
    return true;
}

bool MaySchedule(const std::string& path)
{
    // A path with "." or ".." in it names a place other than the one it spells.
    // A file is judged by its way alone, as the file step judges it; a folder also by the path
    // judge, which refuses the folders that no uninstall may remove.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return IsAbsolute(path) && EqualsNoCase(FullFolderPath(path), path) && !IsDriveRoot(path)
        && (!isFolder || !IsProtectedSystemFolder(path)) && IsPlainPathToTheRoot(path);
}

// The files and the folders under folder, each folder after everything inside it.
void CollectTree(const std::string& folder, int depth, std::vector<std::string>& files,
                 std::vector<std::string>& folders)
{
    (void)ForEachFolderEntry(folder, [&](const FolderEntry& entry) {
        if (IsLinkEntry(entry.attributes))
            return WalkStep::Continue;
        const std::string path = JoinPath(folder, entry.name);
        if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            files.push_back(path);
        else if (depth < kTreeDepthLimit)
            CollectTree(path, depth + 1, files, folders);
        return WalkStep::Continue;
    });
    folders.push_back(folder);
}

}

bool ScheduleDeletionAtRestart(const std::string& path, unsigned long* error)
{
    if (error)
        *error = 0;
    if (!MaySchedule(path))
        return false;
    if (MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        return true;
    if (error)
        *error = GetLastError();
    return false;
}

std::size_t ScheduleTreeDeletionAtRestart(const std::string& folder)
{
    const std::string root = WithoutTrailingBackslash(folder);
    if (!MaySchedule(root))
        return 0;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    CollectTree(root, 0, files, folders);
    std::size_t scheduled = 0;
    for (const std::string& file : files)
        scheduled += ScheduleDeletionAtRestart(file) ? 1 : 0;
    for (const std::string& path : folders)
        scheduled += ScheduleDeletionAtRestart(path) ? 1 : 0;
    return scheduled;
}
