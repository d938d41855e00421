#include "tests/support/file_links.h"

#include "sysops/procedure_address.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

namespace {

using UnixFileNameFunction = char* (*)(const WCHAR*);

UnixFileNameFunction WineUnixFileName()
{
    return ProcedureAddress<UnixFileNameFunction>(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
}

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

// The Unix path of a Windows path, under Wine only; empty elsewhere.
std::string UnixPath(const std::string& path)
{
    UnixFileNameFunction convert = WineUnixFileName();
    if (!convert)
        return {};
    char* unix = convert(Wide(path).c_str());
    if (!unix)
        return {};
    std::string text = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return text;
}

// Wine starts a Unix program given by its Unix path, but gives back no handle to wait on
// (Wine 8), so the caller waits for the program's effect instead.
bool StartUnixCommand(const std::string& commandLine)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);
    return true;
}

template <typename Condition>
bool WaitUntil(Condition condition)
{
    for (int poll = 0; poll < 100; ++poll) {
        if (condition())
            return true;
        Sleep(50);
    }
    return condition();
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool IsLink(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The mount-point reparse data of a junction: the target in NT form, then an empty print name.
bool MakeJunction(const std::string& link, const std::string& target)
{
    if (!CreateDirectoryA(link.c_str(), nullptr))
        return false;
    const std::wstring substitute = L"\\??\\" + Wide(target);
    const USHORT substituteBytes = static_cast<USHORT>(substitute.size() * sizeof(WCHAR));
    std::vector<BYTE> buffer(64 + substituteBytes, 0);
    auto* header = reinterpret_cast<DWORD*>(buffer.data());
    header[0] = IO_REPARSE_TAG_MOUNT_POINT;
    auto* lengths = reinterpret_cast<USHORT*>(buffer.data() + 4);
    lengths[0] = static_cast<USHORT>(8 + substituteBytes + 2 * sizeof(WCHAR)); // reparse data length
    auto* names = reinterpret_cast<USHORT*>(buffer.data() + 8);
    names[0] = 0;                                           // substitute name offset
    names[1] = substituteBytes;                             // substitute name length
    names[2] = static_cast<USHORT>(substituteBytes + 2);    // print name offset
    names[3] = 0;                                           // print name length
    std::memcpy(buffer.data() + 16, substitute.data(), substituteBytes);
    HANDLE folder = CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    DWORD returned = 0;
    const bool made = folder != INVALID_HANDLE_VALUE
        && DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer.data(), 8 + lengths[0], nullptr, 0, &returned, nullptr);
    if (folder != INVALID_HANDLE_VALUE)
        CloseHandle(folder);
    if (!made)
        RemoveDirectoryA(link.c_str());
    return made;
}

}

bool IsRunningUnderWine()
{
    return WineUnixFileName() != nullptr;
}

bool MakeFolderLink(const std::string& link, const std::string& target)
{
    // Wine 8 answers CreateSymbolicLinkA with success without making anything, so every way
    // is judged by the attribute it leaves.
    if (CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY | 0x2) && IsLink(link))
        return true;
    if (MakeJunction(link, target) && IsLink(link))
        return true;
    const std::string unixTarget = UnixPath(target);
    const std::string unixLink = UnixPath(link);
    if (unixTarget.empty() || unixLink.empty())
        return false;
    return StartUnixCommand("/bin/ln -s " + Quoted(unixTarget) + " " + Quoted(unixLink))
        && WaitUntil([&] { return IsLink(link); });
}

MappedDrive::MappedDrive(const std::string& folder) : m_folder(folder)
{
    const DWORD used = GetLogicalDrives();
    char letter = 0;
    for (char candidate = 'Q'; candidate <= 'Y' && !letter; ++candidate) {
        if (!(used & (1u << (candidate - 'A'))))
            letter = candidate;
    }
    if (!letter)
        return;
    const std::string drive = std::string(1, letter) + ":";
    // The drive shows the folder's listing when the mapping works.
    const std::string probe = folder + "\\drive-probe";
    CreateDirectoryA(probe.c_str(), nullptr);
    const auto works = [&] { return GetFileAttributesA((drive + "\\drive-probe").c_str()) != INVALID_FILE_ATTRIBUTES; };
    if (DefineDosDeviceA(0, drive.c_str(), folder.c_str())) {
        if (works())
            m_letter = drive;
        else
            DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive.c_str(), folder.c_str());
    }
    if (m_letter.empty()) {
        const std::string unixDriveC = UnixPath("C:\\");
        const std::string unixFolder = UnixPath(folder);
        const auto cut = unixDriveC.rfind("/c:");
        if (cut != std::string::npos && !unixFolder.empty()) {
            const std::string unixLink = unixDriveC.substr(0, cut) + "/" + static_cast<char>(letter - 'A' + 'a') + ":";
            if (StartUnixCommand("/bin/ln -s " + Quoted(unixFolder) + " " + Quoted(unixLink))) {
                m_unixLink = unixLink;
                if (WaitUntil(works))
                    m_letter = drive;
            }
        }
    }
    RemoveDirectoryA(probe.c_str());
}

MappedDrive::~MappedDrive()
{
    if (!m_unixLink.empty()) {
        // The link only, never its target; waited for so that the next test finds the letter free.
        const std::string letter = m_letter;
        if (StartUnixCommand("/bin/rm -f " + Quoted(m_unixLink)) && !letter.empty())
            WaitUntil([&] { return GetFileAttributesA((letter + "\\").c_str()) == INVALID_FILE_ATTRIBUTES; });
    }
    else if (!m_letter.empty())
        DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, m_letter.c_str(), m_folder.c_str());
}
