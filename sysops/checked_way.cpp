#include "sysops/checked_way.h"

#include "sysops/folder_handles.h"
#include "sysops/system_library.h"

#include <windows.h>
#include <winternl.h>

namespace {

constexpr LONG kNameNotFound = static_cast<LONG>(0xC0000034);
constexpr LONG kPathNotFound = static_cast<LONG>(0xC000003A);
constexpr LONG kNotADirectory = static_cast<LONG>(0xC0000103);

using StatusToErrorFunction = ULONG(NTAPI*)(LONG);

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

// The components after the root, empty ones (doubled separators) left out.
bool SplitBelowRoot(const std::wstring& path, std::size_t rootLength, std::vector<std::wstring>& names)
{
    std::size_t at = rootLength;
    while (at <= path.size()) {
        std::size_t end = path.find_first_of(L"\\/", at);
        if (end == std::wstring::npos)
            end = path.size();
        std::wstring name = path.substr(at, end - at);
        if (name == L"." || name == L"..")
            return false;
        if (!name.empty())
            names.push_back(std::move(name));
        at = end + 1;
    }
    return !names.empty();
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
    m_folders.clear();
    m_names.clear();
    m_root.clear();
}

WayResult CheckedWay::OpenFolder(const std::wstring& name, const std::wstring& path)
{
    LONG status = 0;
    FileHandle folder = OpenInFolder(m_folders.back().Get(), name, FILE_READ_ATTRIBUTES | FILE_TRAVERSE | SYNCHRONIZE,
                                     FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT, status);
    if (!folder.IsOpen())
        return {IsNotFoundStatus(status) ? WayState::Missing : WayState::Failed, ErrorOfStatus(status)};
    if (SeeLink(folder.Get(), path) != LinkSight::None)
        return {WayState::ThroughLink, 0};
    m_names.push_back(name);
    m_folders.push_back(std::move(folder));
    return {};
}

WayResult CheckedWay::OpenTo(const std::string& path, std::wstring& name)
{
    const std::wstring wide = WideOfAnsi(path);
    const std::size_t rootLength = RootLength(wide);
    std::vector<std::wstring> names;
    if (rootLength == 0 || !SplitBelowRoot(wide, rootLength, names))
        return {WayState::BadForm, ERROR_BAD_PATHNAME};
    name = names.back();
    names.pop_back();

    const std::wstring root = wide.substr(0, rootLength);
    if (m_folders.empty() || root != m_root) {
        Release();
        FileHandle opened(CreateFileW(root.c_str(), FILE_READ_ATTRIBUTES | FILE_TRAVERSE | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!opened.IsOpen()) {
            const DWORD error = GetLastError();
            const bool missing = error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND
                || error == ERROR_BAD_NETPATH || error == ERROR_INVALID_DRIVE;
            return {missing ? WayState::Missing : WayState::Failed, error};
        }
        m_root = root;
        m_folders.push_back(std::move(opened));
    }
    // The folders this path shares with the last one are open and checked already.
    std::size_t shared = 0;
    while (shared < names.size() && shared < m_names.size() && names[shared] == m_names[shared])
        ++shared;
    m_names.resize(shared);
    m_folders.resize(shared + 1);

    std::wstring walked = root;
    for (std::size_t i = 0; i < names.size(); ++i) {
        walked += (i == 0 ? L"" : L"\\") + names[i];
        if (i < shared)
            continue;
        const WayResult opened = OpenFolder(names[i], walked);
        if (opened.state != WayState::Open)
            return opened;
    }
    return {};
}
