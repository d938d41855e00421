#pragma once

#include "app/run/removal_probe.h"
#include "app/run/system_removal.h"
#include "app/run/uninstall_run.h"

class UninstallSession;

// The removal operations of a preview: each looks at the real machine and tells what the run
// would do to its item, and changes nothing. What the run would have removed before an item
// is remembered, so that a folder that would be empty by then is seen as removable.
class PreviewRemoval : public RemovalOperations {
public:
    explicit PreviewRemoval(UninstallSession& session) : m_session(session) {}

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
    [[nodiscard]] const FileTimeSource& FileTimes() const override { return m_fileTimes; }

private:
    UninstallSession& m_session;
    SystemFileTimes m_fileTimes;
    PathSet m_going;
    PathSet m_stoppedServices;
    CheckedWay m_way;
    PathSet m_endedPrograms;
};
