#include "app/run/preview_removal.h"

#include "app/run/final_steps.h"
#include "app/run/uninstall_session.h"
#include "base/text_compare.h"
#include "record/record_fields.h"
#include "sysops/file_ops.h"
#include "sysops/process_list.h"
#include "sysops/services.h"

#include <vector>

ItemResult PreviewRemoval::RemoveServiceOf(const std::string& path)
{
    ServiceInfo info;
    if (!FindServiceByPath(path, info))
        return NotThere(kNoServiceReason);
    m_stoppedServices.Insert(path);
    return Removed("service " + info.Name);
}

ItemResult PreviewRemoval::EndProcessesOf(const std::string& path)
{
    // The service step before has stopped the service, and with it its process.
    if (m_stoppedServices.Contains(path))
        return NotThere("stopped with its service");
    std::vector<uint32_t> ids;
    if (!path.empty()) {
        ProcessList processes;
        processes.FindProcessesByPath(path, ids);
    }
    if (ids.empty())
        return NotThere(kNotRunningReason);
    m_endedPrograms.Insert(path);
    return Removed("ends " + std::to_string(ids.size()) + (ids.size() == 1 ? " process" : " processes"));
}

ItemResult PreviewRemoval::UnregisterServer(const std::string& path, unsigned)
{
    if (!IsFilePresent(path))
        return NotThere(kMissingServerReason);
    const WriteTrust trust = CheckTrustWhileElevated(path);
    return trust.trusted ? Removed("unregisters it") : Kept(NotRunReason(trust));
}

ItemResult PreviewRemoval::RemoveFile(const std::string& path)
{
    if (std::optional<ItemResult> refused = RefusedWayTo(path, m_way))
        return *refused;
    if (!IsFilePresent(path))
        return NotThere();
    m_going.Insert(path);
    // A program the run ends lets its file go; anything else that holds a file now may still
    // hold it when the run comes.
    if (!m_endedPrograms.Contains(path) && IsFileInUse(path)
        && !LiesInCleanedFolder(path, m_session.GetUnInstallFolder()))
        return AtRestart("held open by another program now; if it still is, it goes at the next restart");
    return Removed();
}

ItemResult PreviewRemoval::KeepFile(const std::string& path, const std::string& reason)
{
    return IsFilePresent(path) ? Kept(reason) : NotThere(reason);
}

ItemResult PreviewRemoval::RemoveFolderIfEmpty(const std::string& path)
{
    if (std::optional<ItemResult> refused = RefusedWayTo(path, m_way))
        return *refused;
    if (!FolderExists(path))
        return NotThere();
    const std::string staying = FirstEntryStaying(path, &m_going);
    if (!staying.empty())
        return Kept(HoldsReason(staying));
    m_going.Insert(path);
    return Removed();
}

namespace {

// What the deletion would give for what the registry holds now: the item goes when it is
// there. Without a default, the compiler names a kind of presence that is added and not
// handled here.
RegistryRemoval WouldGive(RegistryItemPresence presence)
{
    switch (presence) {
    case RegistryItemPresence::Malformed:
        return RegistryRemoval::Malformed;
    case RegistryItemPresence::Shared:
        return RegistryRemoval::Shared;
    case RegistryItemPresence::Missing:
        return RegistryRemoval::Missing;
    case RegistryItemPresence::Present:
        return RegistryRemoval::Removed;
    }
    return RegistryRemoval::Failed;
}

}

ItemResult PreviewRemoval::RemoveRegistryItem(const std::string& item)
{
    return RegistryRemovalResult(WouldGive(FindRegistryItem(item)));
}

ItemResult PreviewRemoval::RemoveShellObject(const std::string& item)
{
    std::vector<std::string> fields;
    if (!SplitRecordFields(item, 2, fields))
        return Failed(kBadShellObjectReason);
    const std::string& path = fields[1];
    if (EqualsNoCase(fields[0], "Shortcut")) {
        if (std::optional<ItemResult> refused = RefusedWayTo(path, m_way))
            return *refused;
        if (!IsFilePresent(path))
            return NotThere();
        m_going.Insert(path);
        return Removed();
    }
    if (!EqualsNoCase(fields[0], "Group"))
        return Failed(kBadShellObjectReason);
    if (!FolderExists(path))
        return NotThere();
    if (const std::string refusal = FolderRefusalReason(path); !refusal.empty())
        return Kept(refusal);
    const std::string staying = FirstEntryStaying(path, &m_going);
    if (!staying.empty())
        return Kept(HoldsReason(staying));
    m_going.Insert(path);
    return Removed();
}

ItemResult PreviewRemoval::RemoveUninstallEntry()
{
    if (m_session.Record().GetGUID().empty())
        return NotThere(kNoGuidReason);
    return ::HasUninstallEntry(m_session.Record()) ? Removed() : NotThere();
}

ItemResult PreviewRemoval::RemoveDescFolder()
{
    const std::string folder = m_session.GetDescPath();
    if (std::optional<ItemResult> settled = SettledRecordFolder(folder))
        return *settled;
    const std::string staying = FirstFileStayingInTree(folder, &m_going);
    return staying.empty() ? Removed() : Kept(HoldsReason(staying));
}
