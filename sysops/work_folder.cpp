#include "sysops/work_folder.h"

#include "base/path_text.h"
#include "base/text_compare.h"
#include "sysops/folder_entries.h"
#include "sysops/write_trust.h"

#include <windows.h>
#include <objbase.h>
#include <sddl.h>

#include <cstdio>

namespace {

constexpr int kNameAttempts = 8;

// Empty when the system gives no temp folder or one too long for a path.
std::string TempFolder()
{
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return {};
    return WithoutTrailingBackslash(temp);
}

// 32 hexadecimal digits from a new GUID, which comes from the system's random numbers.
std::string RandomName()
{
    GUID guid = {};
    if (FAILED(CoCreateGuid(&guid)))
        return {};
    char text[40];
    std::snprintf(text, sizeof text, "%08lX%04X%04X%02X%02X%02X%02X%02X%02X%02X%02X", guid.Data1, guid.Data2,
                  guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

// Protected (P): nothing is inherited from the temp folder; files and folders created inside
// (OICI) get the same list.
std::string AccessListText()
{
    std::string text = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
    const std::string own = OwnAccountSidText();
    if (!own.empty())
        text += "(A;OICI;FA;;;" + own + ")";
    return text;
}

bool CreatePrivateFolder(const std::string& path)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(AccessListText().c_str(), SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    const bool created = CreateDirectoryA(path.c_str(), &attributes) != FALSE;
    LocalFree(descriptor);
    return created;
}

}

std::string CreateWorkFolder()
{
    const std::string temp = TempFolder();
    if (temp.empty())
        return {};
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = RandomName();
        if (name.empty())
            return {};
        const std::string path = JoinPath(temp, kWorkFolderPrefix + name);
        if (CreatePrivateFolder(path))
            return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
    }
    return {};
}

bool IsWorkFolder(const std::string& folder)
{
    const std::string temp = TempFolder();
    const std::string name = GetFileNamePart(folder);
    const std::string prefix = kWorkFolderPrefix;
    return !temp.empty() && EqualsNoCase(GetFolderPart(folder), temp) && name.size() > prefix.size()
        && EqualsNoCase(name.substr(0, prefix.size()), prefix);
}

void RemoveWorkFolder(const std::string& folder)
{
    if (!IsWorkFolder(folder))
        return;
    // The cleanup copy works in its folder, which cannot go while it is any process's
    // current folder.
    char current[MAX_PATH + 1] = {};
    char system[MAX_PATH + 1] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof current, current);
    if (length > 0 && length < sizeof current && EqualsNoCase(WithoutTrailingBackslash(current), folder)
        && GetSystemDirectoryA(system, MAX_PATH) > 0)
        (void)SetCurrentDirectoryA(system);
    // The folder holds only the files the uninstaller put there, none of them folders.
    bool scheduled = false;
    (void)ForEachFolderEntry(folder, [&](const FolderEntry& entry) {
        const std::string path = JoinPath(folder, entry.name);
        if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && !DeleteFileA(path.c_str()))
            scheduled = MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) || scheduled;
        return WalkStep::Continue;
    });
    // Scheduled after its files, so that at the restart it is empty when its turn comes.
    if (!RemoveDirectoryA(folder.c_str()) && scheduled)
        (void)MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
