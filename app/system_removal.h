#pragma once

#include "app/uninstall_run.h"
#include "record/file_time_source.h"
#include "sysops/listed_file_times.h"
#include "sysops/step_times.h"

class UninstallSession;

// The real last-write times of the files, for the removal policy's unchanged-file test, read
// a folder listing at a time.
class SystemFileTimes : public FileTimeSource {
public:
    [[nodiscard]] bool GetFileWriteTime(const std::string& path, int64_t& calendarTime) const override;

private:
    mutable ListedFileTimes m_listed;
};

// The removal operations of the run on the real system.
class SystemRemoval : public RemovalOperations {
public:
    explicit SystemRemoval(UninstallSession& session) : m_session(session) {}
    ~SystemRemoval() override { m_fileDeletion.Write(); }

    void RemoveServiceOf(const std::string& path) override;
    void EndProcessesOf(const std::string& path) override;
    void UnregisterServer(const std::string& path, unsigned type) override;
    void RemoveFile(const std::string& path) override;
    void RemoveFolderIfEmpty(const std::string& path) override;
    void RemoveRegistryItem(const std::string& item) override;
    void RemoveShellObject(const std::string& item) override;
    void RemoveUninstallEntry() override;
    void RemoveDescFolder() override;
    [[nodiscard]] const FileTimeSource& FileTimes() const override { return m_fileTimes; }

private:
    UninstallSession& m_session;
    SystemFileTimes m_fileTimes;
    StepTotal m_fileDeletion{"file-deletion"};
};
