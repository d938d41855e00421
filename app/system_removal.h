#pragma once

#include "app/uninstall_run.h"
#include "record/file_time_source.h"
#include "sysops/reg_key.h"
#include "sysops/listed_file_times.h"
#include "sysops/step_times.h"

#include <optional>

class UninstallSession;

// The real last-write times of the files, for the removal policy's unchanged-file test, read
// a folder listing at a time.
class SystemFileTimes : public FileTimeSource {
public:
    [[nodiscard]] bool GetFileWriteTime(const std::string& path, int64_t& calendarTime) const override;

private:
    mutable ListedFileTimes m_listed;
};

// The removal operations of the run on the real system. Each tells what became of its item,
// in the words the preview uses for the same item.
class SystemRemoval : public RemovalOperations {
public:
    explicit SystemRemoval(UninstallSession& session) : m_session(session) {}
    ~SystemRemoval() override { m_fileDeletion.Write(); }

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
    StepTotal m_fileDeletion{"file-deletion"};
};

// The reasons both the run and its preview give.
inline constexpr const char* kLinkReason = "a link, never followed";
inline constexpr const char* kSharedKeyReason = "a key that all programs share";
inline constexpr const char* kNoServiceReason = "no service runs it";
inline constexpr const char* kNotRunningReason = "not running";
inline constexpr const char* kMissingServerReason = "the file is missing";
inline constexpr const char* kBadRegistryItemReason = "not a registry item of a known root";
inline constexpr const char* kBadShellObjectReason = "not a group or shortcut";
inline constexpr const char* kNoGuidReason = "the record names no GUID";

// A registry item's removal in the report's words.
[[nodiscard]] ItemResult RegistryRemovalResult(RegistryRemoval outcome);

// The same for the record folder: none named, not there, protected or a link.
[[nodiscard]] std::optional<ItemResult> SettledRecordFolder(const std::string& folder);

// "holds Notes.txt": what keeps a folder.
[[nodiscard]] std::string HoldsReason(const std::string& name);
