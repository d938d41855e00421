#include "app/system_removal.h"

#include "app/uninstall_session.h"
#include "sysops/file_ops.h"
#include "sysops/reg_key.h"

bool SystemFileTimes::GetFileWriteTime(const std::string& path, int64_t& calendarTime) const
{
    return ::GetFileWriteTime(path, calendarTime);
}

void SystemRemoval::RemoveServiceOf(const std::string&)
{
    // FIXME: services are stopped and deleted once the service layer is in.
}

void SystemRemoval::EndProcessesOf(const std::string&)
{
    // FIXME: running programs are ended once the process layer is in.
}

void SystemRemoval::UnregisterServer(const std::string&, unsigned)
{
    // FIXME: COM servers are unregistered once the registration layer is in.
}

void SystemRemoval::RemoveFile(const std::string& path)
{
    DeleteFileForced(path);
}

void SystemRemoval::RemoveFolderIfEmpty(const std::string& path)
{
    // A folder that still holds anything, a file of the user for one, stays.
    if (IsFolderEmpty(path))
        RemoveDirectoryA(path.c_str());
}

void SystemRemoval::RemoveRegistryItem(const std::string& item)
{
    (void)::RemoveRegistryItem(item);
}

void SystemRemoval::RemoveShellObject(const std::string&)
{
    // FIXME: shortcuts and program groups are removed once the shell layer is in.
}

void SystemRemoval::RemoveUninstallEntry()
{
    (void)m_session.RemoveUninstallEntry();
}

void SystemRemoval::RemoveDescFolder()
{
    m_session.RemoveDescFolder();
}
