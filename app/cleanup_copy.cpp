#include "app/cleanup_copy.h"

#include "base/path_text.h"
#include "sysops/file_ops.h"
#include "sysops/held_copy.h"
#include "sysops/restart_deletion.h"
#include "sysops/step_times.h"

#include <windows.h>
#include <shellapi.h>

namespace {

constexpr DWORD kUninstallerWaitMs = 10000;

// Empty when the system gives no temp folder or one too long for a path: the copy would
// otherwise land at the root of the current drive.
std::string TempFolder()
{
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return {};
    return temp;
}

bool IsAbsolutePath(const std::string& path)
{
    const bool drivePath = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
    const bool networkPath = path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
    return drivePath || networkPath;
}

void WaitForProcessEnd(unsigned long processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    if (!process)
        return;
    WaitForSingleObject(process, kUninstallerWaitMs);
    CloseHandle(process);
}

}

bool StartCleanupCopy(const std::string& ownPath, const std::string& folder,
                      const std::function<void(const std::string& copyPath)>& beforeStart)
{
    const std::string temp = TempFolder();
    if (temp.empty())
        return false;
    const std::string copyPath = JoinPath(WithoutTrailingBackslash(temp), kCleanupCopyName);
    // The copy runs elevated from a folder its user can write to: it is held so that nobody
    // can swap it until its process has started.
    HeldFileCopy copy;
    if (!copy.Make(ownPath, copyPath))
        return false;
    if (beforeStart)
        beforeStart(copyPath);
    const std::string parameters = FormatCleanupParameter(GetCurrentProcessId(), folder);
    ShellExecuteA(nullptr, "Open", copyPath.c_str(), parameters.c_str(), temp.c_str(), SW_SHOW);
    return true;
}

void RunCleanup(const CleanupRequest& request)
{
    if (request.processId > 0)
        WaitForProcessEnd(request.processId);
    MarkStep("cleanup-waited");
    if (!CleanupMayDelete(request.folder))
        return;
    MarkStep("cleanup-checked");
    // What a program still held after the wait goes at the next restart: the files first,
    // then the folders deepest first, the uninstall folder last.
    if (!DeleteFolderTree(request.folder))
        (void)ScheduleTreeDeletionAtRestart(request.folder);
}

bool CleanupMayDelete(const std::string& folder)
{
    return IsAbsolutePath(folder) && !IsProtectedSystemFolder(folder);
}
