#pragma once

#include "app/run/removal_report.h"
#include "record/record_queries.h"

#include <string>
#include <vector>

class InstallRecord;
class LanguageFile;
class FileTimeSource;

// What the run needs from the page that shows it: the status line, the "Remove:" label, the
// bar, and one turn of the message pump so that the page stays alive between two steps.
class RunView {
public:
    virtual ~RunView() = default;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void ShowRemoveLabel(bool show) = 0;
    virtual void SetProgressRange(unsigned short total) = 0;
    // Dispatches at most one pending message, then moves the bar on by n.
    virtual void AdvanceProgress(int n) = 0;
    virtual void PumpOneMessage() = 0;
    // A step of the run has ended; the page may note the time for the benchmark.
    virtual void NoteStepDone(const char* /*step*/) {}
};

// The system side of every removal. Each operation is best effort: the run goes on with the
// next entry whatever the result, which only tells the report what became of the item.
class RemovalOperations {
public:
    virtual ~RemovalOperations() = default;
    // Stops (waiting while the page stays alive) and deletes the service that runs the file.
    virtual ItemResult RemoveServiceOf(const std::string& path) = 0;
    // Ends every process that runs the file.
    virtual ItemResult EndProcessesOf(const std::string& path) = 0;
    virtual ItemResult UnregisterServer(const std::string& path, unsigned type) = 0;
    virtual ItemResult RemoveFile(const std::string& path) = 0;
    // A file the removal policy keeps is left alone; the result says whether it is there.
    virtual ItemResult KeepFile(const std::string& path, const std::string& reason) = 0;
    virtual ItemResult RemoveFolderIfEmpty(const std::string& path) = 0;
    virtual ItemResult RemoveRegistryItem(const std::string& item) = 0;
    virtual ItemResult RemoveShellObject(const std::string& item) = 0;
    virtual ItemResult RemoveUninstallEntry() = 0;
    virtual ItemResult RemoveDescFolder() = 0;
    [[nodiscard]] virtual const FileTimeSource& FileTimes() const = 0;
};

// The five lists the run works through, asked of the record before the first removal.
struct RemovalLists {
    std::vector<std::string> servers;
    std::vector<unsigned> serverTypes;
    std::vector<std::string> files;
    std::vector<FileRemovalDecision> fileDecisions; // parallel to files
    std::vector<KeptFile> keptFiles;                 // reported, never counted
    std::vector<std::string> folders;
    std::vector<std::string> registryItems;
    std::vector<std::string> shellObjects;

    [[nodiscard]] int ServiceCount() const;
    [[nodiscard]] int ApplicationCount() const;
    // Every advance the run makes but the last: the bar's maximum.
    [[nodiscard]] int Total() const;
};

[[nodiscard]] RemovalLists CollectRemovalLists(const InstallRecord& record, const FileTimeSource& fileTimes);

// The whole removal, in its fixed order: services, running programs, COM servers, files,
// folders (deepest first), registry items and shell objects (last first), then the uninstall
// entry and the empty description folders. Services and programs go before any file, since a
// running executable cannot be deleted.
class UninstallRun {
public:
    // The report, when there is one, hears of every item as it is settled.
    UninstallRun(RunView& view, RemovalOperations& operations, const LanguageFile* language,
                 RemovalReport* report = nullptr)
        : m_view(view), m_operations(operations), m_language(language), m_report(report) {}

    void Execute(const InstallRecord& record);

    // What became of the items, counted whether or not there is a report: the exit code of a
    // silent uninstall rests on it.
    [[nodiscard]] const OutcomeCounts& Counts() const { return m_counts; }

private:
    void RemoveServices();
    void EndApplications();
    void UnregisterServers();
    void ReportKeptFiles();
    void DeleteFiles();
    void RemoveFolders();
    void RemoveRegistryItems();
    void RemoveShellObjects();
    [[nodiscard]] std::string Text(int id) const;
    [[nodiscard]] std::string TextWith(int id, const std::string& name) const;
    void Report(RemovalItemKind kind, const std::string& name, const ItemResult& result);

    RunView& m_view;
    RemovalOperations& m_operations;
    const LanguageFile* m_language;
    RemovalReport* m_report;
    RemovalLists m_lists;
    OutcomeCounts m_counts;
};
