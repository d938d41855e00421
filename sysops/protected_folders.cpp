#include "sysops/file_ops.h"

#include "base/path_text.h"
#include "base/text_compare.h"
#include "sysops/drive_root.h"
#include "sysops/system_library.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace {

// The system's own folders and the current user's and all users' folders. A damaged record
// naming one of them must not make the cleanup copy delete it.
const int kProtectedFolderIds[] = {
    CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_SYSTEMX86, CSIDL_FONTS,
    CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86,
    CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_MYMUSIC, CSIDL_MYPICTURES, CSIDL_MYVIDEO,
    CSIDL_FAVORITES, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP,
    CSIDL_SENDTO, CSIDL_RECENT, CSIDL_TEMPLATES, CSIDL_NETHOOD, CSIDL_PRINTHOOD, CSIDL_COOKIES,
    CSIDL_INTERNET_CACHE, CSIDL_HISTORY,
    CSIDL_COMMON_APPDATA, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_STARTMENU,
    CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTUP, CSIDL_COMMON_TEMPLATES, CSIDL_COMMON_FAVORITES,
    CSIDL_COMMON_MUSIC, CSIDL_COMMON_PICTURES, CSIDL_COMMON_VIDEO,
};

// The profile root from userenv, which is loaded only when it is asked for.
bool GetProfilesFolder(char* path, DWORD capacity)
{
    using GetProfilesDirectoryFunction = BOOL(WINAPI*)(LPSTR, LPDWORD);
    static const auto getProfilesDirectory =
        LibraryFunction<GetProfilesDirectoryFunction>(LoadSystemLibrary("userenv.dll"), "GetProfilesDirectoryA");
    DWORD length = capacity;
    return getProfilesDirectory && getProfilesDirectory(path, &length);
}

std::vector<std::string> ProtectedFolders()
{
    std::vector<std::string> folders;
    char path[MAX_PATH + 1];
    for (int id : kProtectedFolderIds) {
        if (SUCCEEDED(SHGetFolderPathA(nullptr, id | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path)))
            folders.push_back(path);
    }
    if (GetProfilesFolder(path, sizeof path))
        folders.push_back(path);
    if (GetTempPathA(sizeof path, path))
        folders.push_back(path);
    return folders;
}

// The resolved path with short (8.3) names made long where the folder exists, so that
// C:\PROGRA~1 and C:\Program Files compare equal.
std::string ComparablePath(const std::string& path)
{
    const std::string full = FullFolderPath(path);
    char longPath[MAX_PATH + 1] = {};
    const DWORD length = GetLongPathNameA(full.c_str(), longPath, sizeof longPath);
    return length > 0 && length <= MAX_PATH ? WithoutTrailingBackslash(longPath) : full;
}

// True when folder is inside (or is) container, compared case-insensitively by whole names.
bool ContainsOrEquals(const std::string& container, const std::string& folder)
{
    if (folder.size() < container.size() || !EqualsNoCase(folder.substr(0, container.size()), container))
        return false;
    return folder.size() == container.size() || folder[container.size()] == '\\';
}

// The protected folders in comparable form, found once per process: forty folder lookups and
// path resolutions cost a tenth of a second under Wine, and the cleanup copy asks twice. The
// system gives them in their long form already; only one that holds a short name's "~" is
// resolved, since Wine resolves a long name by listing every folder on its way.
const std::vector<std::string>& ComparableProtectedFolders()
{
    static const std::vector<std::string> folders = [] {
        std::vector<std::string> comparable;
        for (const std::string& known : ProtectedFolders()) {
            if (known.empty())
                continue;
            const bool mayHoldShortName = known.find('~') != std::string::npos;
            comparable.push_back(mayHoldShortName ? ComparablePath(known) : FullFolderPath(known));
        }
        return comparable;
    }();
    return folders;
}

}

bool IsProtectedSystemFolder(const std::string& folder)
{
    if (folder.empty() || IsDriveRoot(folder))
        return true;
    // A folder that holds a protected one is protected as a whole: deleting the profile's
    // AppData would take the temp folder and the roaming data with it.
    const std::string candidate = ComparablePath(folder);
    for (const std::string& known : ComparableProtectedFolders()) {
        if (ContainsOrEquals(candidate, known))
            return true;
    }
    return false;
}
