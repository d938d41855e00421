#pragma once

#include <string>
#include <utility>

// What one item of the install became: the words of the uninstall log and of the preview.
enum class RemovalItemKind {
    Service,
    Program,
    Server,
    File,
    Folder,
    RegistryItem,
    ShellObject,
    UninstallEntry,
    RecordFolder,
    UninstallFolder,
};

enum class RemovalOutcome {
    Removed,
    Kept,
    NotThere,
    Failed,
    // Still in use now, so scheduled for deletion when Windows next starts.
    AtRestart,
};

inline constexpr int kRemovalOutcomeCount = 5;

// How many items had each outcome.
class OutcomeCounts {
public:
    void Add(RemovalOutcome outcome) { ++m_counts[static_cast<int>(outcome)]; }
    void Add(const OutcomeCounts& other)
    {
        for (int i = 0; i < kRemovalOutcomeCount; ++i)
            m_counts[i] += other.m_counts[i];
    }
    [[nodiscard]] int operator[](RemovalOutcome outcome) const { return m_counts[static_cast<int>(outcome)]; }

private:
    int m_counts[kRemovalOutcomeCount] = {};
};

struct ItemResult {
    RemovalOutcome outcome = RemovalOutcome::Removed;
    std::string reason; // empty when the outcome says it all
};

[[nodiscard]] inline ItemResult Removed(std::string reason = {}) { return {RemovalOutcome::Removed, std::move(reason)}; }
[[nodiscard]] inline ItemResult Kept(std::string reason) { return {RemovalOutcome::Kept, std::move(reason)}; }
[[nodiscard]] inline ItemResult NotThere(std::string reason = {}) { return {RemovalOutcome::NotThere, std::move(reason)}; }
[[nodiscard]] inline ItemResult Failed(std::string reason) { return {RemovalOutcome::Failed, std::move(reason)}; }
[[nodiscard]] inline ItemResult AtRestart(std::string reason) { return {RemovalOutcome::AtRestart, std::move(reason)}; }

// Told of every item as the run (or its preview) settles it.
class RemovalReport {
public:
    virtual ~RemovalReport() = default;
    virtual void Item(RemovalItemKind kind, const std::string& name, const ItemResult& result) = 0;
};

// "service", "file", "registry item", ...
[[nodiscard]] const char* ItemKindName(RemovalItemKind kind);
// "removed", "kept", "not there", "failed", "at restart"; in a preview "would remove",
// "would keep", and "in use now" for a file another program holds open.
[[nodiscard]] const char* OutcomeName(RemovalOutcome outcome, bool preview);

// One report line without its time: outcome, kind, name and, in brackets, the reason.
[[nodiscard]] std::string FormatReportLine(RemovalItemKind kind, const std::string& name, const ItemResult& result,
                                           bool preview);
