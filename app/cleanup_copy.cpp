#include "app/cleanup_copy.h"

#include "base/path_text.h"
#include "sysops/file_ops.h"
#include "sysops/held_copy.h"
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
    (void)DeleteJudgedFolderTree(request.folder, judgement);
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
