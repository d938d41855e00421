#include "app/empty_tree.h"

#include "base/path_text.h"

#include <windows.h>

bool RemoveEmptyTree(const std::string& path)
{
    if (path.empty())
        return true;
    const std::string folder = WithoutTrailingBackslash(path);

    bool removable = true;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*.*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const bool isLink = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (!isFolder || isLink) {
                removable = false;
                continue;
            }
            const std::string child = JoinPath(folder, name);
            if (child != folder && !RemoveEmptyTree(child))
                removable = false;
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    if (!removable)
        return false;
    return RemoveDirectoryA(folder.c_str()) != 0;
}
