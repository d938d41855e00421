#include "sysops/system_library.h"

#include <string>

HMODULE LoadSystemLibrary(const char* name)
{
    char folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::string path = std::string(folder) + "\\" + name;
    // With the search limited to the library's own folder, its dependencies also come from
    // the system folder.
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
