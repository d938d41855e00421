#include "sysops/file_ops.h"

#include "base/path_text.h"
#include "sysops/folder_entries.h"
#include "sysops/folder_walk.h"

#include <windows.h>


namespace {

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

FileDeletion DeleteFileForced(const std::string& path)
{
    if (DeleteFileA(path.c_str()))
        return {FileDeletion::Deleted};
    const DWORD firstError = GetLastError();
    // Nothing to force when the file is not there.
    if (firstError == ERROR_FILE_NOT_FOUND || firstError == ERROR_PATH_NOT_FOUND)
        return {FileDeletion::Missing, firstError};
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.c_str()))
        return {FileDeletion::Deleted};
    return {FileDeletion::Failed, GetLastError()};
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
