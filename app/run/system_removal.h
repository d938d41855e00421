#pragma once

#include "app/run/removal_probe.h"
#include "app/run/uninstall_run.h"
#include "record/file_time_source.h"
#include "sysops/checked_way.h"
#include "sysops/listed_file_times.h"
#include "sysops/reg_key.h"
#include "sysops/step_times.h"
#include "sysops/write_trust.h"

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
    // Schedules what cannot go now for the next restart; Failed when even that is refused.
    [[nodiscard]] ItemResult ScheduledOrFailed(const std::string& path, const std::string& why);
    // Inside the uninstall folder, which the cleanup copy deletes after the uninstaller ended.
    [[nodiscard]] bool LiesInUninstallFolder(const std::string& path);

    UninstallSession& m_session;
    SystemFileTimes m_fileTimes;
    // What goes at the next restart: a folder that holds only these goes then as well.
    PathSet m_atRestart;
    std::optional<std::string> m_uninstallFolder; // read when first needed
    StepTotal m_fileDeletion{"file-deletion"};
    // The checked folders of the last file or folder; let go before anything else is removed.
    CheckedWay m_way;
};

// The reasons both the run and its preview give.
inline constexpr const char* kLinkReason = "a link, never followed";
inline constexpr const char* kThroughLinkReason = "reached through a link";
inline constexpr const char* kBadPathFormReason = "not a full path of a drive or share";
inline constexpr const char* kSharedKeyReason = "a key that all programs share";
inline constexpr const char* kNoServiceReason = "no service runs it";
inline constexpr const char* kNotRunningReason = "not running";
inline constexpr const char* kMissingServerReason = "the file is missing";
inline constexpr const char* kBadRegistryItemReason = "not a registry item of a known root";
inline constexpr const char* kBadShellObjectReason = "not a group or shortcut";
inline constexpr const char* kNoGuidReason = "the record names no GUID";

// Why a path whose way was refused is kept: a link on the way, or the path's form.
[[nodiscard]] ItemResult RefusedWay(bool throughLink);

// The way to a recorded path as the removal would find it: a refusal, or nothing when the way is
// open (or not there, which the removal finds out for itself).
[[nodiscard]] std::optional<ItemResult> RefusedWayTo(const std::string& path, CheckedWay& way);

// "not run: Everyone can change C:\App": a file of the installation that others can change.
[[nodiscard]] std::string NotRunReason(const WriteTrust& trust);

// A registry item's removal in the report's words.
[[nodiscard]] ItemResult RegistryRemovalResult(RegistryRemoval outcome);

// The same for the record folder: none named, not there, protected or a link.
[[nodiscard]] std::optional<ItemResult> SettledRecordFolder(const std::string& folder);

// The path lies inside the uninstall folder, and the cleanup copy deletes that folder.
[[nodiscard]] bool LiesInCleanedFolder(const std::string& path, const std::string& uninstallFolder);

// "holds Notes.txt": what keeps a folder.
[[nodiscard]] std::string HoldsReason(const std::string& name);
