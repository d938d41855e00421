#pragma once

#include "app/run/uninstall_run.h"

#include <string>
#include <vector>

// The install record decides what the elevated run deletes. When others than the
// administrators can change the record, or a folder on its way, an edited record could aim
// the run at any file. The run then removes only what the accounts that could have written
// the record could have removed themselves: a file, folder, program, service or server whose
// folder they can change, a shortcut or group likewise, and registry items under
// HKEY_CURRENT_USER. Everything else the record names is kept and reported with the reason;
// the uninstall entry and the record folder stay as well.
class RecordWriters {
public:
    // Nobody else: the record is trusted and nothing is limited.
    RecordWriters() = default;
    RecordWriters(std::vector<std::string> sids, std::string reason);

    [[nodiscard]] bool Limits() const { return !m_reason.empty(); }
    // "the install record may have been edited: Everyone can change C:\App".
    [[nodiscard]] const std::string& Reason() const { return m_reason; }
    // Whether they could remove what is at the path: they can change the folder it is in.
    [[nodiscard]] bool CouldRemove(const std::string& path) const;

private:
    std::vector<std::string> m_sids;
    std::string m_reason;
};

// The writers of the record at the path while elevated; without limits otherwise.
[[nodiscard]] RecordWriters FindRecordWriters(const std::string& recordPath);

// The run's removal operations with the limits applied; a trusted record passes everything.
class LimitedRemoval final : public RemovalOperations {
public:
    // descFolder: the record folder, whose removal is told as the run tells it when nothing
    // is to be removed there anyway.
    LimitedRemoval(RemovalOperations& inner, const RecordWriters& writers, std::string descFolder)
        : m_inner(inner), m_writers(writers), m_descFolder(std::move(descFolder))
    {
    }

    ItemResult RemoveServiceOf(const std::string& path) override;
    ItemResult EndProcessesOf(const std::string& path) override;
    ItemResult UnregisterServer(const std::string& path, unsigned type) override;
    ItemResult RemoveFile(const std::string& path) override;
    ItemResult KeepFile(const std::string& path, const std::string& reason) override;
    ItemResult RemoveFolderIfEmpty(const std::string& path) override;
    ItemResult RemoveRegistryItem(const std::string& item) override;
    ItemResult RemoveShellObject(const std::string& item) override;
    ItemResult RemoveUninstallEntry() override;
    ItemResult RemoveDescFolder() override;
    [[nodiscard]] const FileTimeSource& FileTimes() const override { return m_inner.FileTimes(); }

private:
    [[nodiscard]] bool Passes(const std::string& path) const { return !m_writers.Limits() || m_writers.CouldRemove(path); }

    RemovalOperations& m_inner;
    const RecordWriters& m_writers;
    std::string m_descFolder;
};
