#include "app/run/cleanup_copy.h"

#include "base/path_text.h"
#include "sysops/file_ops.h"
#include "sysops/held_copy.h"
#include "sysops/path_judge.h"
#include "sysops/restart_deletion.h"
#include "sysops/step_times.h"
#include "sysops/work_folder.h"

#include <windows.h>

namespace {

constexpr DWORD kUninstallerWaitMs = 10000;

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

constexpr const char* kNotUninstallerFolderReason = "not the uninstaller's folder";

// What the copy learnt of the process it waited for.
struct WaitedUninstaller {
    bool mayGoOn = false;     // the process had ended already, or it could be asked where it ran from
    bool identified = false;  // ranFrom names the folder of its executable
    FolderIdentity ranFrom;
};

// Waits for the uninstaller to end. Its executable's folder is asked of the handle that is
// waited on, so that the answer is about the very process waited for; a process id that
// names no process any more (the uninstaller ended before the copy looked) leaves nothing
// to ask, and the folder itself must still show it is the uninstaller's.
WaitedUninstaller WaitForUninstaller(unsigned long processId)
{
    WaitedUninstaller waited;
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) {
        waited.mayGoOn = GetLastError() == ERROR_INVALID_PARAMETER;
        return waited;
    }
    char image[4 * MAX_PATH] = {};
    DWORD size = sizeof image;
    waited.identified = QueryFullProcessImageNameA(process, 0, image, &size) && IdentifyFolderOf(image, waited.ranFrom);
    waited.mayGoOn = waited.identified;
    WaitForSingleObject(process, kUninstallerWaitMs);
    CloseHandle(process);
    return waited;
}

// The folder an uninstaller lies in: the judge lets it go and it still holds UnInstall.exe.
bool IsUninstallerFolder(const FolderJudgement& judgement)
{
    return judgement.MayDelete() && FileExists(JoinPath(judgement.resolved, kUninstallerName));
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
    WaitedUninstaller waited;
    waited.mayGoOn = true;
    if (request.processId > 0)
        waited = WaitForUninstaller(request.processId);
    MarkStep("cleanup-waited");
    const FolderJudgement judgement = JudgeFolder(request.folder);
    if (!waited.mayGoOn || !IsUninstallerFolder(judgement))
        return;
    if (waited.identified && !(waited.ranFrom == judgement.identity))
        return;
    MarkStep("cleanup-checked");
    // What a program still held after the wait goes at the next restart: the files first,
    // then the folders deepest first, the uninstall folder last.
    if (!DeleteJudgedFolderTree(request.folder, judgement))
        (void)ScheduleTreeDeletionAtRestart(request.folder);
}

std::string CleanupRefusalReason(const std::string& folder, const std::string& uninstallerPath)
{
    const FolderJudgement judgement = JudgeFolder(folder);
    if (judgement.refusal != PathRefusal::None)
        return RefusalReason(judgement.refusal);
    FolderIdentity own;
    if (judgement.missing || !IdentifyFolderOf(uninstallerPath, own) || !(own == judgement.identity))
        return kNotUninstallerFolderReason;
    return {};
}
