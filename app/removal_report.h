#pragma once

#include <string>

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
};

struct ItemResult {
    RemovalOutcome outcome = RemovalOutcome::Removed;
    std::string reason; // empty when the outcome says it all
};

[[nodiscard]] inline ItemResult Removed(std::string reason = {}) { return {RemovalOutcome::Removed, std::move(reason)}; }
[[nodiscard]] inline ItemResult Kept(std::string reason) { return {RemovalOutcome::Kept, std::move(reason)}; }
[[nodiscard]] inline ItemResult NotThere(std::string reason = {}) { return {RemovalOutcome::NotThere, std::move(reason)}; }
[[nodiscard]] inline ItemResult Failed(std::string reason) { return {RemovalOutcome::Failed, std::move(reason)}; }

// Told of every item as the run (or its preview) settles it.
class RemovalReport {
public:
    virtual ~RemovalReport() = default;
    virtual void Item(RemovalItemKind kind, const std::string& name, const ItemResult& result) = 0;
};

// "service", "file", "registry item", ...
[[nodiscard]] const char* ItemKindName(RemovalItemKind kind);
// "removed", "kept", "not there", "failed"; in a preview "would remove", "would keep".
[[nodiscard]] const char* OutcomeName(RemovalOutcome outcome, bool preview);

// One report line without its time: outcome, kind, name and, in brackets, the reason.
[[nodiscard]] std::string FormatReportLine(RemovalItemKind kind, const std::string& name, const ItemResult& result,
                                           bool preview);
