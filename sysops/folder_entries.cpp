#include "sysops/folder_entries.h"

#include "base/path_text.h"

#include <windows.h>

#include <cstring>

static_assert(FILE_ATTRIBUTE_REPARSE_POINT == 0x400, "IsLinkEntry tests the reparse-point attribute");

bool ForEachFolderEntry(const std::string& folder, const std::function<WalkStep(const FolderEntry&)>& visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0)
            continue;
        const FILETIME& written = found.ftLastWriteTime;
        const uint64_t lastWrite = (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
        if (visit(FolderEntry{found.cFileName, found.dwFileAttributes, lastWrite}) == WalkStep::Stop)
            break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}
