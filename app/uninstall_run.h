#pragma once

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

// The system side of every removal. Each operation is best effort and silent; the run never
// looks at a result and goes on with the next entry.
class RemovalOperations {
public:
    virtual ~RemovalOperations() = default;
    // Stops (waiting while the page stays alive) and deletes the service that runs the file.
    virtual void RemoveServiceOf(const std::string& path) = 0;
    // Ends every process that runs the file.
    virtual void EndProcessesOf(const std::string& path) = 0;
    virtual void UnregisterServer(const std::string& path, unsigned type) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
    virtual void RemoveFolderIfEmpty(const std::string& path) = 0;
    virtual void RemoveRegistryItem(const std::string& item) = 0;
    virtual void RemoveShellObject(const std::string& item) = 0;
    virtual void RemoveUninstallEntry() = 0;
    virtual void RemoveDescFolder() = 0;
    [[nodiscard]] virtual const FileTimeSource& FileTimes() const = 0;
};

// The five lists the run works through, asked of the record before the first removal.
struct RemovalLists {
    std::vector<std::string> servers;
    std::vector<unsigned> serverTypes;
    std::vector<std::string> files;
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
    UninstallRun(RunView& view, RemovalOperations& operations, const LanguageFile* language)
        : m_view(view), m_operations(operations), m_language(language) {}

    void Execute(const InstallRecord& record);

private:
    void RemoveServices();
    void EndApplications();
    void UnregisterServers();
    void DeleteFiles();
    void RemoveFolders();
    void RemoveRegistryItems();
    void RemoveShellObjects();
    [[nodiscard]] std::string Text(int id) const;
    [[nodiscard]] std::string TextWith(int id, const std::string& name) const;

    RunView& m_view;
    RemovalOperations& m_operations;
    const LanguageFile* m_language;
    RemovalLists m_lists;
};
