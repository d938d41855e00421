#include "app/cleanup_copy.h"

#include "base/path_text.h"
#include "sysops/file_ops.h"

#include <windows.h>
#include <shellapi.h>

namespace {

constexpr DWORD kUninstallerWaitMs = 10000;

std::string TempFolder()
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
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

bool StartCleanupCopy(const std::string& ownPath, const std::string& folder)
{
    const std::string temp = TempFolder();
    const std::string copyPath = JoinPath(WithoutTrailingBackslash(temp), kCleanupCopyName);
    if (!CopyFileA(ownPath.c_str(), copyPath.c_str(), FALSE))
        return false;
    const std::string parameters = FormatCleanupParameter(GetCurrentProcessId(), folder);
    ShellExecuteA(nullptr, "Open", copyPath.c_str(), parameters.c_str(), temp.c_str(), SW_SHOW);
    return true;
}

void RunCleanup(const CleanupRequest& request)
{
    if (request.processId > 0)
        WaitForProcessEnd(request.processId);
    if (!IsAbsolutePath(request.folder) || IsProtectedSystemFolder(request.folder))
        return;
    (void)DeleteFolderTree(request.folder);
}
