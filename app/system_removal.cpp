#include "app/system_removal.h"

#include "app/removal_probe.h"
#include "app/uninstall_session.h"
#include "base/text_compare.h"
#include "record/record_fields.h"
#include "sysops/file_ops.h"
#include "sysops/process_list.h"
#include "sysops/reg_key.h"
#include "sysops/server_registration.h"
#include "sysops/services.h"
#include "sysops/shell_objects.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace {

std::string ProcessCount(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " process" : " processes");
}

}

std::string HoldsReason(const std::string& name) { return "holds " + name; }

bool SystemFileTimes::GetFileWriteTime(const std::string& path, int64_t& calendarTime) const
{
    return m_listed.GetFileWriteTime(path, calendarTime);
}

ItemResult SystemRemoval::RemoveServiceOf(const std::string& path)
{
    const ServiceRemoval removal = RemoveServiceOfFile(path);
    if (!removal.found)
        return NotThere(kNoServiceReason);
    if (!removal.deleted)
        return Failed("service " + removal.name + " could not be deleted");
    return Removed("service " + removal.name);
}

ItemResult SystemRemoval::EndProcessesOf(const std::string& path)
{
    const ProcessEnding ending = EndProcessesOfFile(path);
    if (ending.found == 0)
        return NotThere(kNotRunningReason);
    if (ending.ended < ending.found)
        return Failed(ProcessCount(ending.found - ending.ended) + " could not be ended");
    return Removed("ended " + ProcessCount(ending.ended));
}

ItemResult SystemRemoval::UnregisterServer(const std::string& path, unsigned type)
{
    // The unregistration runs whether or not the file is there; the report only tells why it
    // could not work.
    const bool unregistered = UnregisterServerOfFile(path, type);
    if (!IsFilePresent(path))
        return NotThere(kMissingServerReason);
    return unregistered ? Removed("unregistered") : Failed("its unregistration failed");
}

ItemResult SystemRemoval::RemoveFile(const std::string& path)
{
    const StepSpan span(m_fileDeletion);
    const FileDeletion deletion = DeleteFileForced(path);
    switch (deletion.outcome) {
    case FileDeletion::Deleted:
        return Removed();
    case FileDeletion::Missing:
        return NotThere();
    case FileDeletion::Failed:
        break;
    }
    return Failed(SystemErrorReason(deletion.error));
}

ItemResult SystemRemoval::KeepFile(const std::string& path, const std::string& reason)
{
    return IsFilePresent(path) ? Kept(reason) : NotThere(reason);
}

ItemResult SystemRemoval::RemoveFolderIfEmpty(const std::string& path)
{
    // A folder that still holds anything, a file of the user for one, stays. The system removes
    // only an empty folder, so a plain folder is simply asked to go, and listed only when it
    // stays, to name what keeps it; a link is judged by what its listing shows, as ever.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return NotThere();
    const bool isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    std::string staying = isLink ? FirstEntryStaying(path, nullptr) : std::string();
    if (staying.empty()) {
        if (RemoveDirectoryA(path.c_str()))
            return Removed();
        const DWORD error = GetLastError();
        if (error != ERROR_DIR_NOT_EMPTY)
            return Failed(SystemErrorReason(error));
        staying = FirstEntryStaying(path, nullptr);
    }
    return staying.empty() ? Failed(SystemErrorReason(ERROR_DIR_NOT_EMPTY)) : Kept(HoldsReason(staying));
}

ItemResult RegistryRemovalResult(RegistryRemoval outcome)
{
    switch (outcome) {
    case RegistryRemoval::Malformed:
        return Failed(kBadRegistryItemReason);
    case RegistryRemoval::Shared:
        return Kept(kSharedKeyReason);
    case RegistryRemoval::Missing:
        return NotThere();
    case RegistryRemoval::Removed:
        return Removed();
    case RegistryRemoval::Failed:
        break;
    }
    return Failed("it could not be deleted");
}

ItemResult SystemRemoval::RemoveRegistryItem(const std::string& item)
{
    // What became of the item comes from the deletion's own trips to the registry.
    RegistryRemoval outcome = RegistryRemoval::Missing;
    (void)::RemoveRegistryItem(item, &outcome);
    return RegistryRemovalResult(outcome);
}

ItemResult SystemRemoval::RemoveShellObject(const std::string& item)
{
    std::vector<std::string> fields;
    const bool known = SplitRecordFields(item, 2, fields)
        && (EqualsNoCase(fields[0], "Group") || EqualsNoCase(fields[0], "Shortcut"));
    if (!known) {
        (void)::RemoveShellObject(item, ShellNotification::Send);
        return Failed(kBadShellObjectReason);
    }
    const std::string& path = fields[1];
    const bool isGroup = EqualsNoCase(fields[0], "Group");
    const bool present = isGroup ? FolderExists(path) : IsFilePresent(path);
    const std::string refusal = isGroup && present ? FolderRefusalReason(path) : std::string();
    const std::string staying = isGroup && present ? FirstEntryStaying(path, nullptr) : std::string();
    // The shell hears of every entry, even one that is gone already.
    (void)::RemoveShellObject(item, ShellNotification::Send);
    if (!present)
        return NotThere();
    if (!refusal.empty())
        return Kept(refusal);
    if (!staying.empty())
        return Kept(HoldsReason(staying));
    const bool gone = isGroup ? !FolderExists(path) : !IsFilePresent(path);
    return gone ? Removed() : Failed("it could not be deleted");
}

ItemResult SystemRemoval::RemoveUninstallEntry()
{
    UninstallSession::EntryRemoval outcome = UninstallSession::EntryRemoval::Missing;
    (void)m_session.RemoveUninstallEntry(&outcome);
    switch (outcome) {
    case UninstallSession::EntryRemoval::NoGuid:
        return NotThere(kNoGuidReason);
    case UninstallSession::EntryRemoval::Missing:
        return NotThere();
    case UninstallSession::EntryRemoval::Removed:
        return Removed();
    case UninstallSession::EntryRemoval::Failed:
        break;
    }
    return Failed("it could not be deleted");
}

std::optional<ItemResult> SettledRecordFolder(const std::string& folder)
{
    if (folder.empty())
        return NotThere("the record names none");
    if (!FolderExists(folder))
        return NotThere();
    if (const std::string refusal = FolderRefusalReason(folder); !refusal.empty())
        return Kept(refusal);
    if (IsLinkPresent(folder))
        return Kept(kLinkReason);
    return std::nullopt;
}

ItemResult SystemRemoval::RemoveDescFolder()
{
    const std::string folder = m_session.GetDescPath();
    if (std::optional<ItemResult> settled = SettledRecordFolder(folder))
        return *settled;
    if (m_session.RemoveDescFolder())
        return Removed();
    const std::string staying = FirstFileStayingInTree(folder, nullptr);
    return staying.empty() ? Failed("it could not be deleted") : Kept(HoldsReason(staying));
}
