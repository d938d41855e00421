#include "app/system_removal.h"

#include "app/uninstall_session.h"
#include "sysops/file_ops.h"
#include "sysops/process_list.h"
#include "sysops/reg_key.h"
#include "sysops/server_registration.h"
#include "sysops/services.h"
#include "sysops/shell_objects.h"

bool SystemFileTimes::GetFileWriteTime(const std::string& path, int64_t& calendarTime) const
{
    return m_listed.GetFileWriteTime(path, calendarTime);
}

void SystemRemoval::RemoveServiceOf(const std::string& path)
{
    RemoveServiceOfFile(path);
}

void SystemRemoval::EndProcessesOf(const std::string& path)
{
    EndProcessesOfFile(path);
}

void SystemRemoval::UnregisterServer(const std::string& path, unsigned type)
{
    UnregisterServerOfFile(path, type);
}

void SystemRemoval::RemoveFile(const std::string& path)
{
    const StepSpan span(m_fileDeletion);
    DeleteFileForced(path);
}

void SystemRemoval::RemoveFolderIfEmpty(const std::string& path)
{
    // A folder that still holds anything, a file of the user for one, stays. The system removes
    // only an empty folder, so a plain folder is simply asked to go, which spares a listing per
    // folder; a link is judged by what its listing shows, as ever.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 || IsFolderEmpty(path))
        RemoveDirectoryA(path.c_str());
}

void SystemRemoval::RemoveRegistryItem(const std::string& item)
{
    (void)::RemoveRegistryItem(item);
}

void SystemRemoval::RemoveShellObject(const std::string& item)
{
    (void)::RemoveShellObject(item, ShellNotification::Send);
}

void SystemRemoval::RemoveUninstallEntry()
{
    (void)m_session.RemoveUninstallEntry();
}

void SystemRemoval::RemoveDescFolder()
{
    m_session.RemoveDescFolder();
}
