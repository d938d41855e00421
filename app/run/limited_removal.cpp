#include "app/run/limited_removal.h"

#include "app/run/system_removal.h"
#include "base/path_text.h"
#include "record/record_fields.h"
#include "sysops/write_trust.h"

#include <algorithm>
#include <optional>

namespace {

// Groups that every ordinary account belongs to: Everyone, Interactive, Authenticated Users,
// Users. A folder that one of them can change is open to whoever wrote the record.
constexpr const char* kEveryonesGroups[] = {"S-1-1-0", "S-1-5-4", "S-1-5-11", "S-1-5-32-545"};

constexpr const char* kCurrentUserRoot = "HKEY_CURRENT_USER";

template <typename Texts>
bool Contains(const Texts& texts, const std::string& text)
{
    return std::find(std::begin(texts), std::end(texts), text) != std::end(texts);
}

}

RecordWriters::RecordWriters(std::vector<std::string> sids, std::string reason)
    : m_sids(std::move(sids)), m_reason(std::move(reason))
{
}

bool RecordWriters::CouldRemove(const std::string& path) const
{
    const std::string folder = GetFolderPart(WithoutTrailingBackslash(path));
    if (folder.empty())
        return false;
    for (const std::string& sid : RemoversIn(folder).sids) {
        if (sid != "unknown" && (Contains(m_sids, sid) || Contains(kEveryonesGroups, sid)))
            return true;
    }
    return false;
}

RecordWriters FindRecordWriters(const std::string& recordPath)
{
    const WriteTrust trust = CheckTrustWhileElevated(recordPath);
    if (trust.trusted)
        return {};
    return RecordWriters(ChangersAlongTheWay(recordPath).sids,
                         "the install record may have been edited: " + ChangeableReason(trust));
}

ItemResult LimitedRemoval::RemoveServiceOf(const std::string& path)
{
    return Passes(path) ? m_inner.RemoveServiceOf(path) : Kept(m_writers.Reason());
}

ItemResult LimitedRemoval::EndProcessesOf(const std::string& path)
{
    return Passes(path) ? m_inner.EndProcessesOf(path) : Kept(m_writers.Reason());
}

ItemResult LimitedRemoval::UnregisterServer(const std::string& path, unsigned type)
{
    return Passes(path) ? m_inner.UnregisterServer(path, type) : Kept(m_writers.Reason());
}

ItemResult LimitedRemoval::RemoveFile(const std::string& path)
{
    return Passes(path) ? m_inner.RemoveFile(path) : m_inner.KeepFile(path, m_writers.Reason());
}

ItemResult LimitedRemoval::KeepFile(const std::string& path, const std::string& reason)
{
    return m_inner.KeepFile(path, reason);
}

ItemResult LimitedRemoval::RemoveFolderIfEmpty(const std::string& path)
{
    return Passes(path) ? m_inner.RemoveFolderIfEmpty(path) : Kept(m_writers.Reason());
}

ItemResult LimitedRemoval::RemoveRegistryItem(const std::string& item)
{
    // "Type,Root,Path,Name": the root is the second field.
    std::vector<std::string> fields;
    const bool currentUser = SplitRecordFields(item, 2, fields) && fields[1] == kCurrentUserRoot;
    return !m_writers.Limits() || currentUser ? m_inner.RemoveRegistryItem(item) : Kept(m_writers.Reason());
}

ItemResult LimitedRemoval::RemoveShellObject(const std::string& item)
{
    // "Group,PATH" or "Shortcut,PATH".
    std::vector<std::string> fields;
    const bool passes = !m_writers.Limits() || (SplitRecordFields(item, 2, fields) && m_writers.CouldRemove(fields[1]));
    return passes ? m_inner.RemoveShellObject(item) : Kept(m_writers.Reason());
}

ItemResult LimitedRemoval::RemoveUninstallEntry()
{
    return m_writers.Limits() ? Kept(m_writers.Reason()) : m_inner.RemoveUninstallEntry();
}

ItemResult LimitedRemoval::RemoveDescFolder()
{
    if (!m_writers.Limits())
        return m_inner.RemoveDescFolder();
    if (std::optional<ItemResult> settled = SettledRecordFolder(m_descFolder))
        return *settled;
    return Kept(m_writers.Reason());
}
