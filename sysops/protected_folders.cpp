#include "sysops/file_ops.h"

#include "base/text_compare.h"
#include "sysops/drive_root.h"

#include <windows.h>
#include <shlobj.h>
#include <userenv.h>

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

std::vector<std::string> ProtectedFolders()
{
    std::vector<std::string> folders;
    char path[MAX_PATH + 1];
    for (int id : kProtectedFolderIds) {
        if (SUCCEEDED(SHGetFolderPathA(nullptr, id | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path)))
            folders.push_back(path);
    }
    DWORD length = sizeof path;
    if (GetProfilesDirectoryA(path, &length))
        folders.push_back(path);
    if (GetTempPathA(sizeof path, path))
        folders.push_back(path);
    return folders;
}

}

bool IsProtectedSystemFolder(const std::string& folder)
{
    if (folder.empty() || IsDriveRoot(folder))
        return true;
    const std::string candidate = FullFolderPath(folder);
    for (const std::string& known : ProtectedFolders()) {
        if (!known.empty() && EqualsNoCase(candidate, FullFolderPath(known)))
            return true;
    }
    return false;
}
