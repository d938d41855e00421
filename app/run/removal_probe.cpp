#include "app/run/removal_probe.h"

#include "base/path_text.h"
#include "base/text_compare.h"
#include "sysops/folder_entries.h"

#include <windows.h>

namespace {

constexpr uint32_t kDirectoryAttribute = FILE_ATTRIBUTE_DIRECTORY;

// A deeper tree than any installation makes; the search stops there rather than run out of
// stack on a damaged or looping tree.
constexpr int kTreeDepthLimit = 64;

std::string FirstFileStaying(const std::string& folder, const PathSet* going, int depth)
{
    std::string staying;
    (void)ForEachFolderEntry(folder, [&](const FolderEntry& entry) {
        const std::string path = JoinPath(folder, entry.name);
        if (going && going->Contains(path))
            return WalkStep::Continue;
        const bool isFolder = (entry.attributes & kDirectoryAttribute) != 0 && !IsLinkEntry(entry.attributes);
        if (!isFolder || depth >= kTreeDepthLimit)
            staying = path;
        else
            staying = FirstFileStaying(path, going, depth + 1);
        return staying.empty() ? WalkStep::Continue : WalkStep::Stop;
    });
    return staying;
}

}

void PathSet::Insert(const std::string& path) { m_folded.insert(FoldedNoCase(path)); }

bool PathSet::Contains(const std::string& path) const { return m_folded.count(FoldedNoCase(path)) != 0; }

bool IsLinkPresent(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && IsLinkEntry(attributes);
}

bool IsFilePresent(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsFileInUse(const std::string& path)
{
    // Asking for the right to delete it, while sharing everything, fails only when another
    // handle does not share deletion.
    const HANDLE file = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

std::string FirstEntryStaying(const std::string& folder, const PathSet* going)
{
    std::string staying;
    const bool listed = ForEachFolderEntry(WithoutTrailingBackslash(folder), [&](const FolderEntry& entry) {
        if (going && going->Contains(JoinPath(WithoutTrailingBackslash(folder), entry.name)))
            return WalkStep::Continue;
        staying = entry.name;
        return WalkStep::Stop;
    });
    // What a folder holds that cannot be listed (its path too long for the listing, say)
    // keeps it all the same.
    if (!listed && GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        return kUnlistedEntries;
    return staying;
}

std::string FirstFileStayingInTree(const std::string& folder, const PathSet* going)
{
    return FirstFileStaying(WithoutTrailingBackslash(folder), going, 0);
}

std::string SystemErrorReason(unsigned long error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return "access denied";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "in use by another program";
    case ERROR_DIR_NOT_EMPTY:
        return "not empty";
    default:
        return "system error " + std::to_string(error);
    }
}
