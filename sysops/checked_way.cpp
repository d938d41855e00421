#include "sysops/checked_way.h"

#include "sysops/folder_handles.h"
#include "sysops/system_library.h"

#include <windows.h>
#include <winternl.h>

#include <vector>

namespace {

constexpr LONG kNameNotFound = static_cast<LONG>(0xC0000034);
constexpr LONG kPathNotFound = static_cast<LONG>(0xC000003A);
constexpr LONG kNotADirectory = static_cast<LONG>(0xC0000103);

using StatusToErrorFunction = ULONG(NTAPI*)(LONG);

// Beyond so many open folders the checked ones are let go and checked anew.
constexpr std::size_t kMostChecked = 4096;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveAt(const std::wstring& path, std::size_t at)
{
    return path.size() > at + 2 && iswalpha(path[at]) && path[at + 1] == L':' && IsSeparator(path[at + 2]);
}

// The end of the first count components from at, or npos when there are fewer.
std::size_t SkipComponents(const std::wstring& path, std::size_t at, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::size_t end = path.find_first_of(L"\\/", at);
        if (end == std::wstring::npos || end == at)
            return std::wstring::npos;
        at = end + 1;
    }
    return at;
}

// The length of the path's root with its separator: "C:\", "\\?\C:\", "\\.\C:\",
// "\\server\share\" or "\\?\UNC\server\share\"; 0 for any other form.
std::size_t RootLength(const std::wstring& path)
{
    if (IsDriveAt(path, 0))
        return 3;
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return 0;
    const bool device = path.size() > 3 && (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3]);
    if (!device) {
        const std::size_t end = SkipComponents(path, 2, 2);
        return end == std::wstring::npos ? 0 : end;
    }
    if (IsDriveAt(path, 4))
        return 7;
    if (path.compare(4, 4, L"UNC\\") == 0) {
        const std::size_t end = SkipComponents(path, 8, 2);
        return end == std::wstring::npos ? 0 : end;
    }
    return 0;
}

// The root, then each folder on the way and the path itself, as root and names joined with
// single backslashes; empty names (doubled separators) are left out. False for a form without
// a root, a path that is only a root, and a path with "." or ".." in it.
bool SplitWay(const std::wstring& path, std::vector<std::wstring>& ways)
{
    const std::size_t rootLength = RootLength(path);
    if (rootLength == 0)
        return false;
    ways.push_back(path.substr(0, rootLength));
    std::size_t at = rootLength;
    while (at <= path.size()) {
        std::size_t end = path.find_first_of(L"\\/", at);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring name = path.substr(at, end - at);
        if (name == L"." || name == L"..")
            return false;
        if (!name.empty())
            ways.push_back(ways.size() == 1 ? ways[0] + name : ways.back() + L"\\" + name);
        at = end + 1;
    }
    return ways.size() > 1;
}

// The last name of the i-th way, i at least 1.
std::wstring NameAt(const std::vector<std::wstring>& ways, std::size_t i)
{
    return ways[i].substr(ways[i - 1].size() + (i == 1 ? 0 : 1));
}

}

unsigned long ErrorOfStatus(LONG status)
{
    static const auto convert = LibraryFunction<StatusToErrorFunction>(GetModuleHandleA("ntdll.dll"), "RtlNtStatusToDosError");
    return convert ? convert(status) : ERROR_GEN_FAILURE;
}

bool IsNotFoundStatus(LONG status)
{
    return status == kNameNotFound || status == kPathNotFound || status == kNotADirectory;
}

LinkSight SeeLink(HANDLE handle, const std::wstring& path)
{
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    if (GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)
        && (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return IsReparseTagNameSurrogate(tag.ReparseTag) ? LinkSight::Handle : LinkSight::None;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool pathIsLink = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    return pathIsLink ? LinkSight::PathOnly : LinkSight::None;
}

std::wstring WideOfAnsi(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

void CheckedWay::Release()
{
    m_checked.clear();
    m_last = INVALID_HANDLE_VALUE;
}

void CheckedWay::Forget(const std::string& folder)
{
    std::vector<std::wstring> ways;
    if (!SplitWay(WideOfAnsi(folder), ways))
        return;
    const std::wstring& key = ways.back();
    for (auto entry = m_checked.begin(); entry != m_checked.end();) {
        const std::wstring& path = entry->first;
        const bool below = path.size() > key.size() && path.compare(0, key.size(), key) == 0 && path[key.size()] == L'\\';
        entry = path == key || below ? m_checked.erase(entry) : std::next(entry);
    }
    m_last = INVALID_HANDLE_VALUE;
}

WayResult CheckedWay::OpenTo(const std::string& path, std::wstring& name)
{
    m_last = INVALID_HANDLE_VALUE;
    std::vector<std::wstring> ways;
    const std::wstring wide = WideOfAnsi(path);
    if (!SplitWay(wide, ways))
        return {WayState::BadForm, ERROR_BAD_PATHNAME};
    name = NameAt(ways, ways.size() - 1);
    ways.pop_back(); // the path itself
    if (m_checked.size() > kMostChecked)
        Release();
    // The deepest folder on the way that is checked already; the rest is opened from there.
    std::size_t start = ways.size();
    while (start > 0 && !m_checked.count(ways[start - 1]))
        --start;
    if (start == 0) {
        FileHandle root(CreateFileW(ways[0].c_str(), FILE_READ_ATTRIBUTES | FILE_TRAVERSE | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!root.IsOpen()) {
            const DWORD error = GetLastError();
            const bool missing = error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND
                || error == ERROR_BAD_NETPATH || error == ERROR_INVALID_DRIVE;
            return {missing ? WayState::Missing : WayState::Failed, error};
        }
        m_checked.emplace(ways[0], std::move(root));
        start = 1;
    }
    HANDLE parent = m_checked.find(ways[start - 1])->second.Get();
    for (std::size_t i = start; i < ways.size(); ++i) {
        const std::wstring folderName = NameAt(ways, i);
        LONG status = 0;
        FileHandle folder = OpenInFolder(parent, folderName, FILE_READ_ATTRIBUTES | FILE_TRAVERSE | SYNCHRONIZE,
                                         FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT, status);
        if (!folder.IsOpen())
            return {IsNotFoundStatus(status) ? WayState::Missing : WayState::Failed, ErrorOfStatus(status)};
        if (SeeLink(folder.Get(), ways[i]) != LinkSight::None)
            return {WayState::ThroughLink, 0};
        parent = folder.Get();
        m_checked.emplace(ways[i], std::move(folder));
    }
    m_last = parent;
    return {};
}
