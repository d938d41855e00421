#include "sysops/folder_walk.h"

#include "base/path_text.h"
#include "sysops/checked_way.h"
#include "sysops/file_handle.h"
#include "sysops/folder_handles.h"
#include "sysops/system_library.h"

#include <windows.h>
#include <winternl.h>

#include <vector>

namespace {

// FILE_ID_FULL_DIR_INFORMATION, the listing with each entry's file id.
struct DirectoryEntry {
    ULONG nextEntryOffset;
    ULONG fileIndex;
    LARGE_INTEGER creationTime;
    LARGE_INTEGER lastAccessTime;
    LARGE_INTEGER lastWriteTime;
    LARGE_INTEGER changeTime;
    LARGE_INTEGER endOfFile;
    LARGE_INTEGER allocationSize;
    ULONG fileAttributes;
    ULONG fileNameLength;
    ULONG eaSize;
    LARGE_INTEGER fileId;
    WCHAR fileName[1];
};

constexpr FILE_INFORMATION_CLASS kIdFullDirectoryInformation = static_cast<FILE_INFORMATION_CLASS>(38);

// One entry as the listing saw it.
struct ListedEntry {
    std::wstring name;
    DWORD attributes;
    ULONGLONG fileId;
};

using NtCreateFileFunction = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                              PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using NtQueryDirectoryFileFunction = NTSTATUS(NTAPI*)(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK, PVOID, ULONG,
                                                      FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING, BOOLEAN);

struct NativeFunctions {
    NativeFunctions()
    {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        createFile = LibraryFunction<NtCreateFileFunction>(ntdll, "NtCreateFile");
        queryDirectory = LibraryFunction<NtQueryDirectoryFileFunction>(ntdll, "NtQueryDirectoryFile");
    }
    NtCreateFileFunction createFile = nullptr;
    NtQueryDirectoryFileFunction queryDirectory = nullptr;
};

const NativeFunctions& Native()
{
    static const NativeFunctions functions;
    return functions;
}

std::function<void(const std::string&, const std::string&)>& Seam()
{
    static std::function<void(const std::string&, const std::string&)> seam;
    return seam;
}

int& DepthLimit()
{
    static int limit = kWalkDepthLimit;
    return limit;
}

constexpr ACCESS_MASK kEntryAccess = DELETE | SYNCHRONIZE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr LONG kNotImplemented = static_cast<LONG>(0xC0000002);

std::string Narrow(const WCHAR* text, std::size_t length)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string narrow(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &narrow[0], size, nullptr, nullptr);
    return narrow;
}

// A folder's entries, "." and ".." left out, read through its handle.
std::vector<ListedEntry> ListEntries(HANDLE folder)
{
    std::vector<ListedEntry> names;
    if (!Native().queryDirectory)
        return names;
    std::vector<char> buffer(64 * 1024);
    BOOLEAN restart = TRUE;
    for (;;) {
        IO_STATUS_BLOCK io = {};
        const NTSTATUS status = Native().queryDirectory(folder, nullptr, nullptr, nullptr, &io, buffer.data(),
                                                        static_cast<ULONG>(buffer.size()), kIdFullDirectoryInformation,
                                                        FALSE, nullptr, restart);
        restart = FALSE;
        if (status < 0 || io.Information == 0)
            break;
        for (std::size_t offset = 0;;) {
            const auto* entry = reinterpret_cast<const DirectoryEntry*>(buffer.data() + offset);
            std::wstring name(entry->fileName, entry->fileNameLength / sizeof(WCHAR));
            if (name != L"." && name != L"..")
                names.push_back(ListedEntry{name, entry->fileAttributes, static_cast<ULONGLONG>(entry->fileId.QuadPart)});
            if (entry->nextEntryOffset == 0)
                break;
            offset += entry->nextEntryOffset;
        }
    }
    return names;
}

// Opens one entry relative to its folder's handle, never following a link. Listing access is
// asked for too, and left out when a file's sharing refuses it.
FileHandle OpenEntry(HANDLE folder, const std::wstring& name)
{
    for (ACCESS_MASK access : {kEntryAccess | FILE_LIST_DIRECTORY, kEntryAccess}) {
        LONG status = 0;
        FileHandle entry = OpenInFolder(folder, name, access, FILE_OPEN_FOR_BACKUP_INTENT, status);
        if (entry.IsOpen())
            return entry;
    }
    return FileHandle();
}

// What a handle has open: its attributes, file id and volume.
struct OpenedEntry {
    DWORD attributes = 0;
    ULONGLONG fileId = 0;
    DWORD volume = 0;
};

bool Inspect(HANDLE handle, OpenedEntry& opened)
{
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle, &information))
        return false;
    opened.attributes = information.dwFileAttributes;
    opened.fileId = (static_cast<ULONGLONG>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    opened.volume = information.dwVolumeSerialNumber;
    return true;
}

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
bool IsFolder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// What to do with one opened entry.
enum class EntryKind { Link, LinkReachedThrough, Folder, File, Swapped };

// The handle is trusted only for what it shows itself. An entry that was a link when listed,
// or whose handle shows one, is a link; a handle that shows no link then reached the target
// (Wine opens a Unix symbolic link's target even when asked not to follow it). An entry whose
// file id changed since the listing was swapped in between.
EntryKind Classify(const ListedEntry& listed, const OpenedEntry& opened)
{
    if (IsLink(opened.attributes))
        return EntryKind::Link;
    if (IsLink(listed.attributes))
        return EntryKind::LinkReachedThrough;
    if (listed.fileId != 0 && opened.fileId != 0 && listed.fileId != opened.fileId)
        return EntryKind::Swapped;
    return IsFolder(opened.attributes) ? EntryKind::Folder : EntryKind::File;
}

// The tree's folder, opened in its parent once every folder on its way was checked; a tree
// reached through a link on its way is not opened.
FileHandle OpenTreeRoot(const std::string& folder)
{
    CheckedWay way;
    std::wstring name;
    if (way.OpenTo(folder, name).state != WayState::Open)
        return FileHandle();
    LONG status = 0;
    return OpenInFolder(way.Folder(), name, kEntryAccess | FILE_LIST_DIRECTORY, FILE_OPEN_FOR_BACKUP_INTENT, status);
}

// One walk: what it removes, and whether it met a folder too deep to enter.
struct Walk {
    TreeRemoval removal;
    const WalkPump& pump;
    bool tooDeep = false;
};

// Walks the contents of an opened folder at the given depth; true when nothing stayed in it.
// Each level holds one handle and a little stack, and the depth is bounded.
bool WalkContents(HANDLE folder, const std::string& path, Walk& walk, int depth)
{
    if (depth >= DepthLimit()) {
        walk.tooDeep = true;
        return false;
    }
    const TreeRemoval removal = walk.removal;
    const WalkPump& pump = walk.pump;
    bool emptied = true;
    for (const ListedEntry& listed : ListEntries(folder)) {
        if (pump)
            pump();
        const std::string name = Narrow(listed.name.c_str(), listed.name.size());
        if (Seam())
            Seam()(path, name);
        FileHandle entry = OpenEntry(folder, listed.name);
        OpenedEntry opened;
        if (!entry.IsOpen() || !Inspect(entry.Get(), opened)) {
            emptied = false;
            continue;
        }
        bool removed = false;
        switch (Classify(listed, opened)) {
        case EntryKind::Link:
            removed = removal == TreeRemoval::Everything && DeleteThrough(entry.Get());
            break;
        case EntryKind::File:
            removed = removal == TreeRemoval::Everything && DeleteFileThrough(entry.Get());
            break;
        case EntryKind::Folder:
            removed = WalkContents(entry.Get(), JoinPath(path, name), walk, depth + 1) && DeleteThrough(entry.Get());
            break;
        case EntryKind::LinkReachedThrough:
        case EntryKind::Swapped:
            break;
        }
        emptied = emptied && removed;
    }
    return emptied;
}

}

TreeRemovalResult RemoveTree(const std::string& folder, TreeRemoval removal, bool removeRoot, const WalkPump& pump,
                             const FolderIdentity& judged)
{
    TreeRemovalResult result;
    FileHandle root = OpenTreeRoot(folder);
    OpenedEntry opened;
    if (!root.IsOpen() || !Inspect(root.Get(), opened)) {
        result.emptied = GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
        return result;
    }
    if (!(FolderIdentity{opened.volume, opened.fileId} == judged))
        return result;
    // As in the walk, the path's own attributes tell a link that the handle went through.
    const DWORD pathAttributes = GetFileAttributesA(folder.c_str());
    if (IsLink(opened.attributes)) {
        result.emptied = removal == TreeRemoval::Everything && removeRoot && DeleteThrough(root.Get());
        return result;
    }
    if ((pathAttributes != INVALID_FILE_ATTRIBUTES && IsLink(pathAttributes)) || !IsFolder(opened.attributes))
        return result;
    Walk walk{removal, pump};
    const bool emptied = WalkContents(root.Get(), folder, walk, 0);
    result.tooDeep = walk.tooDeep;
    result.emptied = emptied && (!removeRoot || DeleteThrough(root.Get()));
    return result;
}

void SetWalkDepthLimitForTests(int limit)
{
    DepthLimit() = limit > 0 ? limit : kWalkDepthLimit;
}

FileHandle OpenInFolder(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG options, LONG& status)
{
    status = kNotImplemented;
    if (!Native().createFile)
        return FileHandle();
    UNICODE_STRING text;
    text.Buffer = const_cast<PWSTR>(name.c_str());
    text.Length = static_cast<USHORT>(name.size() * sizeof(WCHAR));
    text.MaximumLength = text.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    HANDLE handle = nullptr;
    IO_STATUS_BLOCK io = {};
    status = Native().createFile(&handle, access, &attributes, &io, nullptr, 0, kShareAll, FILE_OPEN,
                                 options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    return status >= 0 ? FileHandle(handle) : FileHandle();
}

bool DeleteThrough(HANDLE handle)
{
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

bool DeleteFileThrough(HANDLE handle)
{
    if (DeleteThrough(handle))
        return true;
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic) && DeleteThrough(handle);
}

void SetWalkSeamForTests(std::function<void(const std::string& folder, const std::string& name)> seam)
{
    Seam() = std::move(seam);
}
