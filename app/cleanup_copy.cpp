#include "app/cleanup_copy.h"

#include "base/path_text.h"
#include "sysops/file_ops.h"
#include "sysops/held_copy.h"
#include "sysops/restart_deletion.h"
#include "sysops/step_times.h"
#include "sysops/work_folder.h"

#include <windows.h>

namespace {

constexpr DWORD kUninstallerWaitMs = 10000;

bool IsAbsolutePath(const std::string& path)
{
    const bool drivePath = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
    const bool networkPath = path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
    return drivePath || networkPath;
}

// Started by its image, not through the shell's association for programs, which a user can
// override for themselves.
bool StartCopy(const std::string& copyPath, const std::string& workFolder, const std::string& folder)
{
    std::string commandLine = "\"" + copyPath + "\" " + FormatCleanupParameter(GetCurrentProcessId(), folder);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(copyPath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, workFolder.c_str(),
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
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
    // The copy runs elevated from a work folder of its own, which is also its current folder:
    // nothing beside it can have been planted by another account.
    const std::string workFolder = CreateWorkFolder();
    if (workFolder.empty())
        return false;
    bool started = false;
    {
        const std::string copyPath = JoinPath(workFolder, kCleanupCopyName);
        // Held so that not even this account's other programs can swap it until its process
        // has started.
        HeldFileCopy copy;
        if (copy.Make(ownPath, copyPath)) {
            if (beforeStart)
                beforeStart(copyPath);
            started = StartCopy(copyPath, workFolder, folder);
        }
    }
    if (!started)
        RemoveWorkFolder(workFolder);
    return started;
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
