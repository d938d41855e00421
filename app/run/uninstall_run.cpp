#include "app/run/uninstall_run.h"

#include "record/install_record.h"
#include "record/record_queries.h"
#include "ui/string_table.h"
#include "ui/text_format.h"

int RemovalLists::ServiceCount() const { return static_cast<int>(CountServiceCandidates(serverTypes)); }

int RemovalLists::ApplicationCount() const { return static_cast<int>(CountExeFiles(files)); }

int RemovalLists::Total() const
{
    const size_t entries = servers.size() + files.size() + folders.size() + registryItems.size() + shellObjects.size();
    return ServiceCount() + ApplicationCount() + static_cast<int>(entries) + 2;
}

RemovalLists CollectRemovalLists(const InstallRecord& record, const FileTimeSource& fileTimes)
{
    RemovalLists lists;
    ListComServers(record, lists.servers, lists.serverTypes);
    ListFilesByPolicy(record, fileTimes, lists.files, lists.fileDecisions, lists.keptFiles);
    ListFolders(record, lists.folders);
    ListRegistryItems(record, lists.registryItems);
    ListShellObjects(record, lists.shellObjects);
    return lists;
}

std::string UninstallRun::Text(int id) const { return GetText(id, m_language); }

std::string UninstallRun::TextWith(int id, const std::string& name) const { return FormatText(Text(id), name); }

void UninstallRun::Report(RemovalItemKind kind, const std::string& name, const ItemResult& result)
{
    m_counts.Add(result.outcome);
    if (m_report)
        m_report->Item(kind, name, result);
}

void UninstallRun::Execute(const InstallRecord& record)
{
    m_view.SetStatusText(Text(TextId::InitData));
    m_view.PumpOneMessage();

    m_lists = CollectRemovalLists(record, m_operations.FileTimes());
    m_view.NoteStepDone("lists");
    // The bar's range is a 16-bit word; a larger install only stops the bar early.
    m_view.SetProgressRange(static_cast<unsigned short>(m_lists.Total()));

    RemoveServices();
    m_view.NoteStepDone("services");
    EndApplications();
    m_view.AdvanceProgress(1);
    m_view.NoteStepDone("applications");
    if (!m_lists.servers.empty())
        UnregisterServers();
    ReportKeptFiles();
    m_view.NoteStepDone("servers");
    if (!m_lists.files.empty())
        DeleteFiles();
    m_view.NoteStepDone("files");
    if (!m_lists.folders.empty())
        RemoveFolders();
    m_view.NoteStepDone("folders");
    if (!m_lists.registryItems.empty())
        RemoveRegistryItems();
    m_view.NoteStepDone("registry");
    if (!m_lists.shellObjects.empty())
        RemoveShellObjects();
    m_view.NoteStepDone("shell");

    // The uninstall entry goes last: while anything else is left, the application still shows
    // in the list of installed programs and the uninstall can be run again.
    Report(RemovalItemKind::UninstallEntry, record.GetGUID(), m_operations.RemoveUninstallEntry());
    m_view.AdvanceProgress(1);
    Report(RemovalItemKind::RecordFolder, record.GetDescPath(), m_operations.RemoveDescFolder());
    m_view.AdvanceProgress(1);
    m_view.NoteStepDone("entry");
}

void UninstallRun::RemoveServices()
{
    for (size_t i = 0; i < m_lists.servers.size(); ++i) {
        if (!IsServiceCandidate(m_lists.serverTypes[i]))
            continue;
        m_view.SetStatusText(TextWith(TextId::StopService, m_lists.servers[i]));
        Report(RemovalItemKind::Service, m_lists.servers[i], m_operations.RemoveServiceOf(m_lists.servers[i]));
        m_view.AdvanceProgress(1);
    }
}

void UninstallRun::EndApplications()
{
    m_view.ShowRemoveLabel(true);
    for (const auto& file : m_lists.files) {
        if (file.empty() || !HasExeExtension(file))
            continue;
        m_view.SetStatusText(TextWith(TextId::CleaningApplication, file));
        Report(RemovalItemKind::Program, file, m_operations.EndProcessesOf(file));
        m_view.AdvanceProgress(1);
    }
    m_view.ShowRemoveLabel(false);
    m_view.SetStatusText("");
}

void UninstallRun::UnregisterServers()
{
    for (size_t i = 0; i < m_lists.servers.size(); ++i) {
        m_view.SetStatusText(TextWith(TextId::Unregister, m_lists.servers[i]));
        Report(RemovalItemKind::Server, m_lists.servers[i],
               m_operations.UnregisterServer(m_lists.servers[i], m_lists.serverTypes[i]));
        m_view.AdvanceProgress(1);
    }
}

void UninstallRun::ReportKeptFiles()
{
    if (!m_report)
        return;
    for (const KeptFile& file : m_lists.keptFiles)
        Report(RemovalItemKind::File, file.path, m_operations.KeepFile(file.path, DescribeFileRemoval(file.decision)));
}

void UninstallRun::DeleteFiles()
{
    m_view.ShowRemoveLabel(true);
    for (size_t i = 0; i < m_lists.files.size(); ++i) {
        const std::string& file = m_lists.files[i];
        if (!file.empty()) {
            m_view.SetStatusText(TextWith(TextId::Remove, file));
            ItemResult result = m_operations.RemoveFile(file);
            // A file that went, or stays against its policy, is named with the policy that
            // let it go.
            if (m_report && result.outcome != RemovalOutcome::NotThere)
                result.reason = DescribeFileRemoval(m_lists.fileDecisions[i])
                    + (result.reason.empty() ? "" : "; " + result.reason);
            Report(RemovalItemKind::File, file, result);
        }
        m_view.AdvanceProgress(1);
    }
    m_view.ShowRemoveLabel(false);
    m_view.SetStatusText("");
}

void UninstallRun::RemoveFolders()
{
    // Last first: the installer created parents before their children.
    m_view.ShowRemoveLabel(true);
    for (auto folder = m_lists.folders.rbegin(); folder != m_lists.folders.rend(); ++folder) {
        if (!folder->empty()) {
            m_view.SetStatusText(TextWith(TextId::Remove, *folder));
            Report(RemovalItemKind::Folder, *folder, m_operations.RemoveFolderIfEmpty(*folder));
        }
        m_view.AdvanceProgress(1);
    }
    m_view.ShowRemoveLabel(false);
    m_view.SetStatusText("");
}

void UninstallRun::RemoveRegistryItems()
{
    for (auto item = m_lists.registryItems.rbegin(); item != m_lists.registryItems.rend(); ++item) {
        m_view.SetStatusText(Text(TextId::RemoveRegistryInfo));
        Report(RemovalItemKind::RegistryItem, *item, m_operations.RemoveRegistryItem(*item));
        m_view.AdvanceProgress(1);
    }
}

void UninstallRun::RemoveShellObjects()
{
    for (auto item = m_lists.shellObjects.rbegin(); item != m_lists.shellObjects.rend(); ++item) {
        m_view.SetStatusText(Text(TextId::RemoveShellObject));
        Report(RemovalItemKind::ShellObject, *item, m_operations.RemoveShellObject(*item));
        m_view.AdvanceProgress(1);
    }
}
