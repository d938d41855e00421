#include "app/run/system_removal.h"

#include "app/run/cleanup_copy.h"
#include "app/run/final_steps.h"
#include "app/run/removal_probe.h"
#include "app/run/uninstall_session.h"
#include "base/path_text.h"
#include "base/text_compare.h"
#include "record/record_fields.h"
#include "sysops/file_ops.h"
#include "sysops/module_path.h"
#include "sysops/process_list.h"
#include "sysops/reg_key.h"
#include "sysops/restart_deletion.h"
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

std::string NotRunReason(const WriteTrust& trust) { return "not run: " + ChangeableReason(trust); }

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
    // could not work. A server that others can change is not run with the uninstaller's rights.
    if (IsFilePresent(path)) {
        const WriteTrust trust = CheckBeforeRunning(path);
        if (!trust.trusted)
            return Kept(NotRunReason(trust));
    }
    const bool unregistered = UnregisterServerOfFile(path, type);
    if (!IsFilePresent(path))
        return NotThere(kMissingServerReason);
    return unregistered ? Removed("unregistered") : Failed("its unregistration failed");
}

ItemResult RefusedWay(bool throughLink) { return Kept(throughLink ? kThroughLinkReason : kBadPathFormReason); }

std::optional<ItemResult> RefusedWayTo(const std::string& path, CheckedWay& way)
{
    std::wstring name;
    const WayResult reached = way.OpenTo(path, name);
    if (reached.state == WayState::ThroughLink || reached.state == WayState::BadForm)
        return RefusedWay(reached.state == WayState::ThroughLink);
    return std::nullopt;
}

ItemResult SystemRemoval::RemoveFile(const std::string& path)
{
    const StepSpan span(m_fileDeletion);
    const FileDeletion deletion = DeleteFileForced(path, &m_way);
    switch (deletion.outcome) {
    case FileDeletion::Deleted:
        return Removed();
    case FileDeletion::Missing:
        return NotThere();
    case FileDeletion::Refused:
        return RefusedWay(deletion.throughLink);
    case FileDeletion::Failed:
        break;
    }
    const std::string why = SystemErrorReason(deletion.error);
    // A folder named as a file is no file to schedule.
    if (!IsFilePresent(path))
        return Failed(why);
    // The running uninstaller and its companions go with the uninstall folder.
    if (LiesInUninstallFolder(path))
        return Removed(why + "; the cleanup copy deletes it with the uninstall folder");
    return ScheduledOrFailed(path, why);
}

bool SystemRemoval::LiesInUninstallFolder(const std::string& path)
{
    if (!m_uninstallFolder)
        m_uninstallFolder = m_session.GetUnInstallFolder();
    return LiesInCleanedFolder(path, *m_uninstallFolder);
}

bool LiesInCleanedFolder(const std::string& path, const std::string& uninstallFolder)
{
    const std::string folder = WithoutTrailingBackslash(uninstallFolder);
    return CleanupRefusalReason(folder, GetModulePath()).empty() && path.size() > folder.size() + 1
        && EqualsNoCase(path.substr(0, folder.size() + 1), folder + "\\");
}

ItemResult SystemRemoval::ScheduledOrFailed(const std::string& path, const std::string& why)
{
    // What a program the run does not end still holds goes when Windows next starts.
    unsigned long error = 0;
    if (ScheduleDeletionAtRestart(path, &error)) {
        m_atRestart.Insert(path);
        return AtRestart(why + "; it goes at the next restart");
    }
    return Failed(why + (error != 0 ? "; it could not be scheduled for the restart: " + SystemErrorReason(error)
                                    : "; not scheduled for the restart, refused as a path"));
}

ItemResult SystemRemoval::KeepFile(const std::string& path, const std::string& reason)
{
    return IsFilePresent(path) ? Kept(reason) : NotThere(reason);
}

ItemResult SystemRemoval::RemoveFolderIfEmpty(const std::string& path)
{
    // A folder that still holds anything, a file of the user for one, stays. The system removes
    // only an empty folder, so the folder is simply asked to go, and listed only when it stays,
    // to name what keeps it.
    const FolderRemoval removal = RemoveEmptyFolder(path, &m_way);
    switch (removal.outcome) {
    case FolderRemoval::Removed:
        return Removed();
    case FolderRemoval::Missing:
        return NotThere();
    case FolderRemoval::Refused:
        return RefusedWay(removal.throughLink);
    case FolderRemoval::Failed:
    case FolderRemoval::NotEmpty: {
        // A folder that holds only what goes at the restart goes then too, after its entries. One
        // that still holds anything else stays, whatever error its removal gave: the uninstall
        // folder, for one, is the running uninstaller's current folder and holds its record.
        const std::string staying = FirstEntryStaying(path, &m_atRestart);
        if (!staying.empty())
            return Kept(HoldsReason(staying));
        return ScheduledOrFailed(path, removal.outcome == FolderRemoval::NotEmpty
                                           ? std::string("it holds only what goes at the next restart")
                                           : SystemErrorReason(removal.error));
    }
    case FolderRemoval::LinkKept:
        break;
    }
    const std::string staying = FirstEntryStaying(path, nullptr);
    return staying.empty() ? Kept(kLinkReason) : Kept(HoldsReason(staying));
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
    m_way.Release();
    // What became of the item comes from the deletion's own trips to the registry.
    RegistryRemoval outcome = RegistryRemoval::Missing;
    (void)::RemoveRegistryItem(item, &outcome);
    return RegistryRemovalResult(outcome);
}

ItemResult SystemRemoval::RemoveShellObject(const std::string& item)
{
    m_way.Release();
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
    if (gone)
        return Removed();
    if (std::optional<ItemResult> refused = isGroup ? std::nullopt : RefusedWayTo(path, m_way))
        return *refused;
    return Failed("it could not be deleted");
}

ItemResult SystemRemoval::RemoveUninstallEntry()
{
    EntryRemoval outcome = EntryRemoval::Missing;
    (void)::RemoveUninstallEntry(m_session.Record(), &outcome);
    switch (outcome) {
    case EntryRemoval::NoGuid:
        return NotThere(kNoGuidReason);
    case EntryRemoval::Missing:
        return NotThere();
    case EntryRemoval::Removed:
        return Removed();
    case EntryRemoval::Failed:
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
    CheckedWay way;
    return RefusedWayTo(folder, way);
}

ItemResult SystemRemoval::RemoveDescFolder()
{
    m_way.Release();
    const std::string folder = m_session.GetDescPath();
    if (std::optional<ItemResult> settled = SettledRecordFolder(folder))
        return *settled;
    if (::RemoveDescFolder(m_session.Record()))
        return Removed();
    const std::string staying = FirstFileStayingInTree(folder, nullptr);
    return staying.empty() ? Failed("it could not be deleted") : Kept(HoldsReason(staying));
}
