#include "sysops/system_library.h"

namespace {

// A system without the search flags (Windows 7 before its update) refuses them as an invalid
// parameter; it gets the older form, whose current-folder step RestrictDllSearchToSystem has
// taken out.
bool SearchFlagsRefused() { return GetLastError() == ERROR_INVALID_PARAMETER; }

}

HMODULE LoadSystemLibrary(const char* name)
{
    if (HMODULE library = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return library;
    if (!SearchFlagsRefused())
        return nullptr;
    char folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::string path = std::string(folder) + "\\" + name;
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadLibraryFromItsFolder(const std::string& path)
{
    // A name without its full path would be looked for along the whole search.
    const bool absolute = path.size() >= 3 && ((path[1] == ':' && path[2] == '\\') || (path[0] == '\\' && path[1] == '\\'));
    if (!absolute)
        return nullptr;
    if (HMODULE library
        = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32))
        return library;
    return SearchFlagsRefused() ? LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH) : nullptr;
}
