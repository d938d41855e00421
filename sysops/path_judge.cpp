#include "sysops/path_judge.h"

#include "base/path_forms.h"
#include "base/path_text.h"
#include "base/text_compare.h"
#include "sysops/drive_root.h"
#include "sysops/file_handle.h"
#include "sysops/file_ops.h"
#include "sysops/system_library.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace {

// The system's own folders and the running user's and all users' folders.
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

// Windows lists every profile of the machine here, each account's under its SID, and the
// profiles folder, the default and public profiles and ProgramData as values of the key.
constexpr const char* kProfileListKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const char* const kProfileListFolders[] = {"ProfilesDirectory", "Default", "Public", "ProgramData"};

const struct {
    PathRefusal refusal;
    const char* reason;
} kRefusalReasons[] = {
    {PathRefusal::None, ""},
    {PathRefusal::NotLocalFolder, "not a folder on a local drive"},
    {PathRefusal::Root, "a drive or volume root"},
    {PathRefusal::Protected, "refused as a protected path"},
    {PathRefusal::OtherUsersProfile, "another user's profile"},
};

// Opens what the path names for reading its attributes only; links on the way are followed,
// the last part itself only when asked.
FileHandle OpenForJudging(const std::string& path, bool followLastLink)
{
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLastLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return FileHandle(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  flags, nullptr));
}

// "C:\App" for what the handle has open; empty when the system cannot name it by a drive.
std::string ResolvedPath(HANDLE handle)
{
    std::string buffer(MAX_PATH + 8, '\0');
    DWORD length = GetFinalPathNameByHandleA(handle, &buffer[0], static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
    if (length >= buffer.size()) {
        buffer.assign(length + 1, '\0');
        length = GetFinalPathNameByHandleA(handle, &buffer[0], static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= buffer.size())
        return {};
    buffer.resize(length);
    const std::string path = WithoutDevicePrefix(buffer);
    return ClassifyPathForm(path) == PathForm::DrivePath ? WithoutTrailingBackslash(path) : std::string();
}

// Asked once per drive and process: the system asks its mount manager every time.
UINT DriveType(char letter)
{
    static UINT types[26] = {};
    const int index = (letter | 0x20) - 'a';
    if (index < 0 || index >= 26)
        return DRIVE_NO_ROOT_DIR;
    if (types[index] == 0)
        types[index] = GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) + 1;
    return types[index] - 1;
}

bool IsLocalDrive(const std::string& resolved)
{
    switch (DriveType(resolved[0])) {
    case DRIVE_FIXED:
    case DRIVE_REMOVABLE:
    case DRIVE_RAMDISK:
        return true;
    default:
        return false;
    }
}

// A drive's root, or the root of a volume mounted in a folder.
bool IsVolumeRoot(const std::string& resolved)
{
    if (resolved.size() <= 2)
        return true;
    char volume[MAX_PATH + 1] = {};
    return GetVolumePathNameA((resolved + "\\").c_str(), volume, sizeof volume)
        && EqualsNoCase(WithoutTrailingBackslash(volume), resolved);
}

std::string KnownFolder(int id)
{
    char path[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathA(nullptr, id | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

std::string ProfileListValue(const std::string& subkey, const char* name)
{
    char value[MAX_PATH + 1] = {};
    DWORD size = sizeof value;
    // Expandable strings ("%SystemDrive%\Users") come back expanded.
    if (RegGetValueA(HKEY_LOCAL_MACHINE, subkey.c_str(), name, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return {};
    return value;
}

std::vector<std::string> ListedProfileKeys()
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProfileListKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(JoinPath(kProfileListKey, name));
    }
    RegCloseKey(key);
    return names;
}

// The forms of one protected folder the judge can meet: its text resolved, and the folder
// the system reaches through it (a link's target, a long name for a short one).
std::vector<std::string> ComparableForms(const std::string& folder)
{
    std::vector<std::string> forms = {FullFolderPath(folder)};
    FileHandle handle = OpenForJudging(folder, true);
    const std::string resolved = handle.IsOpen() ? ResolvedPath(handle.Get()) : std::string();
    if (!resolved.empty() && !EqualsNoCase(resolved, forms[0]))
        forms.push_back(resolved);
    return forms;
}

void AddProtected(ProtectedFolderList& list, const std::string& folder, Protection protection)
{
    if (folder.empty())
        return;
    for (const std::string& form : ComparableForms(folder))
        list.Add(form, protection);
}

// A profile of the profile list with its known folders; another account's unless it is the
// running user's own.
void AddProfile(ProtectedFolderList& list, const std::string& profile, const std::vector<std::string>& ownForms)
{
    const std::vector<std::string> forms = ComparableForms(profile);
    bool own = false;
    for (const std::string& form : forms) {
        for (const std::string& mine : ownForms)
            own = own || EqualsNoCase(form, mine);
    }
    const Protection protection = own ? Protection::System : Protection::OtherUsersProfile;
    for (const std::string& form : forms) {
        list.Add(form, protection);
        for (const char* known : ProfileKnownFolders())
            list.Add(JoinPath(form, known), protection);
    }
}

// Found once per process: the cleanup copy and a preview ask many times.
const ProtectedFolderList& ProtectedFolders()
{
    static const ProtectedFolderList list = [] {
        ProtectedFolderList folders;
        for (int id : kProtectedFolderIds)
            AddProtected(folders, KnownFolder(id), Protection::System);
        char temp[MAX_PATH + 1] = {};
        if (GetTempPathA(sizeof temp, temp))
            AddProtected(folders, temp, Protection::System);
        for (const char* name : kProfileListFolders)
            AddProtected(folders, ProfileListValue(kProfileListKey, name), Protection::System);
        const std::vector<std::string> own = ComparableForms(KnownFolder(CSIDL_PROFILE));
        for (const std::string& key : ListedProfileKeys()) {
            const std::string profile = ProfileListValue(key, "ProfileImagePath");
            if (!profile.empty())
                AddProfile(folders, profile, own);
        }
        return folders;
    }();
    return list;
}

PathRefusal RefusalOfResolved(const std::string& resolved)
{
    if (IsVolumeRoot(resolved))
        return PathRefusal::Root;
    switch (ProtectedFolders().Find(resolved)) {
    case Protection::System:
        return PathRefusal::Protected;
    case Protection::OtherUsersProfile:
        return PathRefusal::OtherUsersProfile;
    case Protection::None:
        break;
    }
    return PathRefusal::None;
}

bool Identify(HANDLE handle, FolderIdentity& identity, DWORD& attributes)
{
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle, &information))
        return false;
    identity.volume = information.dwVolumeSerialNumber;
    identity.file = (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    attributes = information.dwFileAttributes;
    return true;
}

// The folder a handle has open, judged; a link given as the path is judged where it lies
// and, since its removal must not be mistaken for its target's, where it points as well.
void JudgeOpened(const std::string& path, HANDLE handle, FolderJudgement& judgement)
{
    DWORD attributes = 0;
    judgement.resolved = ResolvedPath(handle);
    if (!Identify(handle, judgement.identity, attributes) || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0
        || judgement.resolved.empty() || !IsLocalDrive(judgement.resolved)) {
        judgement.refusal = PathRefusal::NotLocalFolder;
        return;
    }
    judgement.refusal = RefusalOfResolved(judgement.resolved);
    if (judgement.refusal != PathRefusal::None || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return;
    FileHandle target = OpenForJudging(path, true);
    const std::string targetPath = target.IsOpen() ? ResolvedPath(target.Get()) : std::string();
    if (!targetPath.empty())
        judgement.refusal = RefusalOfResolved(targetPath);
}

// "C:\App" for "\\?\Volume{...}\App" where the volume has a drive letter; any other text as
// it is. The system resolves the volume form itself, but not every system does.
std::string WithVolumeAsDrive(const std::string& path)
{
    constexpr std::size_t kVolumeNameLength = 49; // "\\?\Volume{" + 36 + "}\"
    if (path.size() < kVolumeNameLength || !EqualsNoCase(path.substr(0, 11), "\\\\?\\Volume{"))
        return path;
    char drives[MAX_PATH] = {};
    DWORD length = 0;
    if (!GetVolumePathNamesForVolumeNameA(path.substr(0, kVolumeNameLength).c_str(), drives, sizeof drives, &length)
        || drives[0] == '\0')
        return path;
    return drives + path.substr(kVolumeNameLength);
}

}

FolderJudgement JudgeFolder(const std::string& givenPath)
{
    const std::string path = WithVolumeAsDrive(givenPath);
    FolderJudgement judgement;
    // A text that names a root as written is refused before it is resolved: "C:" alone names
    // the current folder of drive C, a substitute drive resolves to the folder behind it.
    if (path.empty() || IsDriveRoot(path)) {
        judgement.refusal = PathRefusal::Root;
        return judgement;
    }
    // A network path is never opened: the elevated run would hand its credentials to
    // whatever server the text names.
    const PathForm form = ClassifyPathForm(path);
    if (form == PathForm::Network || form == PathForm::Relative) {
        judgement.refusal = PathRefusal::NotLocalFolder;
        return judgement;
    }
    FileHandle handle = OpenForJudging(path, false);
    if (handle.IsOpen()) {
        JudgeOpened(path, handle.Get(), judgement);
        return judgement;
    }
    // A device path that cannot be opened cannot be resolved either.
    const DWORD error = GetLastError();
    if (form == PathForm::Device || (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)) {
        judgement.refusal = PathRefusal::NotLocalFolder;
        return judgement;
    }
    // Nothing is there to delete; the text still tells whether it names a protected place.
    judgement.missing = true;
    if (form == PathForm::DrivePath) {
        judgement.resolved = FullFolderPath(WithoutDevicePrefix(path));
        judgement.refusal = RefusalOfResolved(judgement.resolved);
    }
    return judgement;
}

const char* RefusalReason(PathRefusal refusal)
{
    for (const auto& entry : kRefusalReasons) {
        if (entry.refusal == refusal)
            return entry.reason;
    }
    return "";
}

std::string FolderRefusalReason(const std::string& path)
{
    const FolderJudgement judgement = JudgeFolder(path);
    return judgement.missing ? std::string() : RefusalReason(judgement.refusal);
}

bool IdentifyFolderOf(const std::string& filePath, FolderIdentity& identity)
{
    const std::string folder = GetFolderPart(filePath);
    FileHandle handle = folder.empty() ? FileHandle() : OpenForJudging(folder, true);
    DWORD attributes = 0;
    return handle.IsOpen() && Identify(handle.Get(), identity, attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsProtectedSystemFolder(const std::string& folder)
{
    return JudgeFolder(folder).refusal != PathRefusal::None;
}
