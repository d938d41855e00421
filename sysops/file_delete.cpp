#include "sysops/file_ops.h"

#include "base/path_text.h"
#include "sysops/checked_way.h"
#include "sysops/drive_root.h"
#include "sysops/folder_entries.h"
#include "sysops/folder_handles.h"
#include "sysops/folder_walk.h"

#include <windows.h>


namespace {

constexpr ACCESS_MASK kFileAccess = DELETE | SYNCHRONIZE | FILE_READ_ATTRIBUTES;

constexpr ULONG kFileOptions = FILE_NON_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT;

// Opens the way to the path in the given checked way, or in own when none is given. Null when
// the way is not open, and removal then tells why: a folder on the way missing or failing, or a
// refusal.
template <typename Removal>
CheckedWay* OpenWay(CheckedWay* way, CheckedWay& own, const std::string& path, std::wstring& name, Removal& removal)
{
    CheckedWay& checked = way ? *way : own;
    const WayResult reached = checked.OpenTo(path, name);
    switch (reached.state) {
    case WayState::Open:
        return &checked;
    case WayState::Missing:
        removal = {Removal::Missing, reached.error};
        return nullptr;
    case WayState::Failed:
        removal = {Removal::Failed, reached.error};
        return nullptr;
    case WayState::ThroughLink:
    case WayState::BadForm:
        break;
    }
    removal = {Removal::Refused, reached.error, reached.state == WayState::ThroughLink};
    return nullptr;
}

bool IsGone(const std::string& path) { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; }

// Every walk that removes asks the judge first, and walks only the folder it judged.
bool RemoveJudgedTree(const std::string& path, const FolderJudgement& judgement, TreeRemoval removal, bool removeRoot,
                      const WalkPump& pump, TreeReport* report)
{
    if (report)
        *report = TreeReport{judgement.refusal, false};
    if (judgement.refusal != PathRefusal::None)
        return false;
    const std::string folder = WithoutTrailingBackslash(path);
    if (judgement.missing)
        return IsGone(folder);
    const TreeRemovalResult result = RemoveTree(folder, removal, removeRoot, pump, judgement.identity);
    if (report)
        report->tooDeep = result.tooDeep;
    return !removeRoot || IsGone(folder);
}

}

FileDeletion DeleteFileForced(const std::string& path, CheckedWay* way) { return DeleteRecordedFile(path, way, true); }

FileDeletion DeleteFileOnce(const std::string& path) { return DeleteRecordedFile(path, nullptr, false); }

FileDeletion DeleteRecordedFile(const std::string& path, CheckedWay* way, bool forced)
{
    CheckedWay own;
    std::wstring name;
    FileDeletion deletion{};
    CheckedWay* checked = OpenWay(way, own, path, name, deletion);
    if (!checked)
        return deletion;
    // The plain case costs one open: the file goes when the handle closes. A read-only file
    // refuses that open and is opened again to be forced.
    LONG status = 0;
    if (OpenInFolder(checked->Folder(), name, kFileAccess, kFileOptions | FILE_DELETE_ON_CLOSE, status).IsOpen())
        return {FileDeletion::Deleted};
    if (IsNotFoundStatus(status))
        return {FileDeletion::Missing, ErrorOfStatus(status)};
    const unsigned long firstError = ErrorOfStatus(status);
    if (!forced)
        return {FileDeletion::Failed, firstError};
    FileHandle file = OpenInFolder(checked->Folder(), name, kFileAccess | FILE_WRITE_ATTRIBUTES, kFileOptions, status);
    if (!file.IsOpen() || SeeLink(file.Get(), WideOfAnsi(path)) != LinkSight::None || !DeleteFileThrough(file.Get()))
        return {FileDeletion::Failed, firstError};
    return {FileDeletion::Deleted};
}

FolderRemoval RemoveEmptyFolder(const std::string& path, CheckedWay* way)
{
    CheckedWay own;
    std::wstring name;
    FolderRemoval removal{};
    if (way)
        way->Forget(path); // a folder held open would stay until its handle closes
    CheckedWay* checked = OpenWay(way, own, path, name, removal);
    if (!checked)
        return removal;
    LONG status = 0;
    FileHandle folder = OpenInFolder(checked->Folder(), name, kFileAccess, FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT,
                                     status);
    if (!folder.IsOpen())
        return {IsNotFoundStatus(status) ? FolderRemoval::Missing : FolderRemoval::Failed, ErrorOfStatus(status)};
    // Where the handle shows the link itself, deleting through it removes only the link.
    if (SeeLink(folder.Get(), WideOfAnsi(path)) == LinkSight::PathOnly)
        return {FolderRemoval::LinkKept};
    if (DeleteThrough(folder.Get()))
        return {FolderRemoval::Removed};
    const DWORD error = GetLastError();
    return {error == ERROR_DIR_NOT_EMPTY ? FolderRemoval::NotEmpty : FolderRemoval::Failed, error};
}

void DeleteFolderContents(const std::string& path)
{
    (void)RemoveJudgedTree(path, JudgeFolder(path), TreeRemoval::Everything, false, {}, nullptr);
}

bool DeleteFolderTree(const std::string& path, TreeReport* report)
{
    return RemoveJudgedTree(path, JudgeFolder(path), TreeRemoval::Everything, true, {}, report);
}

bool DeleteJudgedFolderTree(const std::string& path, const FolderJudgement& judgement)
{
    return RemoveJudgedTree(path, judgement, TreeRemoval::Everything, true, {}, nullptr);
}

bool RemoveEmptyTree(const std::string& path, const std::function<void()>& pump, TreeReport* report)
{
    if (path.empty())
        return true;
    return RemoveJudgedTree(path, JudgeFolder(path), TreeRemoval::EmptyFolders, true, pump, report);
}

bool IsFolderEmpty(const std::string& path)
{
    if (path.empty())
        return false;
    const std::string folder = WithoutTrailingBackslash(path);
    bool empty = true;
    const bool listed = ForEachFolderEntry(folder, [&empty](const FolderEntry&) {
        empty = false;
        return WalkStep::Stop;
    });
    // A listing that fails says nothing of what the folder holds (a path too long for the
    // listing's pattern, say): only a folder that is not there counts as empty then.
    return listed ? empty : IsGone(folder);
}
