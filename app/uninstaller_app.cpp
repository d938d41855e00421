#include "app/uninstaller_app.h"

#include "app/flows/default_flow.h"
#include "app/flows/removal_run.h"
#include "app/flows/script_files.h"
#include "app/flows/scripted_uninstall.h"
#include "app/pages/confirmation.h"
#include "app/pages/resource.h"
#include "app/run/cleanup_copy.h"
#include "app/run/exit_code.h"
#include "app/run/preview_removal.h"
#include "app/startup_mode.h"
#include "base/path_text.h"
#include "sysops/file_ops.h"
#include "sysops/message_box.h"
#include "sysops/module_path.h"
#include "sysops/restart.h"
#include "sysops/step_times.h"
#include "sysops/work_folder.h"
#include "sysops/write_trust.h"
#include "ui/string_table.h"
#include "ui/text_format.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace {

// What start-up has always reported: failure, which nobody read.
constexpr int kInteractiveExitCode = 1;

// The uninstall script and its VBScript code run in the elevated uninstaller, so they are run
// together or not at all: each that is there must pass the check of who can change it. The
// first that fails, with its path; trusted when none does.
WriteTrust ScriptFilesTrust(const std::string& folder, std::string& failing)
{
    for (const char* name : {"hw.dll", "zn.dll", "jt.dll"}) {
        failing = JoinPath(folder, name);
        const WriteTrust trust = FileExists(failing) ? CheckTrustWhileElevated(failing) : WriteTrust{};
        if (!trust.trusted)
            return trust;
    }
    failing.clear();
    return {};
}
// Windows Installer's code for "another installation is in progress".
constexpr int kExitAnotherRunning = 1618;

constexpr const char* kAlreadyRunningText = "The uninstall of %s is already running.";

}

std::string GetAppFolder() { return GetFolderPart(GetModulePath()); }

std::string GetExeName() { return GetFileNamePart(GetModulePath()); }

UninstallerApp::UninstallerApp(const AdminSwitches& switches)
    : m_switches(switches),
      m_answerer(switches.silent ? static_cast<Answerer&>(m_silentAnswerer.emplace(m_log)) : m_interactiveAnswerer)
{
}

int UninstallerApp::Start(const std::string& parameter)
{
    // COM stays initialised for the life of the process: servers are unregistered and
    // scripts create objects on this thread until it ends.
    MarkProcessCreated("created");
    MarkStep("start");
    (void)CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    m_appFolder = GetAppFolder();
    switch (ModeForExeName(GetExeName())) {
    case StartupMode::Uninstall:
        return RunUninstallMode();
    case StartupMode::Cleanup:
        RunCleanupMode(parameter);
        break;
    case StartupMode::Nothing:
        break;
    }
    return kInteractiveExitCode;
}

FlowContext UninstallerApp::Flows()
{
    const PageContext pages{m_session.Language(), m_topBannerPath, m_leftBannerPath, m_answerer};
    return {m_session, pages, m_log, m_recordWriters, m_scriptEngine, m_hostObjects};
}

int UninstallerApp::RunUninstallMode()
{
    const bool administered = m_switches.preview || m_switches.silent;
    if (m_switches.help) {
        // Asked for, so shown even with /S.
        (void)ShowMessageBox(AdminSwitchesHelp(), GetModuleCaption(), MB_OK | MB_ICONINFORMATION, BoxOwner::None);
        return administered ? kExitSuccess : kInteractiveExitCode;
    }
    const std::string languagePath = JoinPath(m_appFolder, "Setup.lr");
    if (FileExists(languagePath))
        (void)m_session.Language().LoadLanguage("Setup", languagePath);

    OpenLog();
    if (m_silentAnswerer)
        m_silentAnswerer->AnswerSystemBoxes();
    const std::string descriptionPath = JoinPath(m_appFolder, "Setup.Kvx");
    if (!FileExists(descriptionPath)) {
        m_log.Line("no install record at " + descriptionPath + ": nothing to uninstall");
        // A silent uninstall tells only through its exit code and its log.
        (void)m_answerer.AnswerBox(GetText(TextId::NoUninstallInfo, &m_session), GetModuleCaption(), MB_OK,
                                   BoxOwner::None);
        return administered ? kExitFatalError : kInteractiveExitCode;
    }
    // The record is read once, before the question, so that the name asked about is the name
    // of the record that the run then removes.
    LoadRecordOnce();
    if (m_switches.preview) {
        const int exitCode = RunPreview();
        ShowPreviewLogPlace();
        return exitCode;
    }
    // One uninstall of an installation at a time: a second one would delete under the first.
    if (!TakeUninstallLock())
        return m_switches.silent ? kExitAnotherRunning : kInteractiveExitCode;
    MarkStep("confirm-asked");
    // The administrator's /S is the silent uninstall's confirmation.
    if (!m_switches.silent && !ConfirmUninstall(m_answerer, m_session.Language(), m_session.Record().GetAppName())) {
        m_log.Line("the user chose not to uninstall");
        return kInteractiveExitCode;
    }
    MarkStep("confirmed");

    m_log.Line(std::string(m_switches.silent ? "silent uninstall" : "uninstall") + " with the install record "
               + descriptionPath);
    const bool ran = RunUninstall();
    LaunchCleanupCopy();
    MarkStep("copy-started");
    // The cleanup copy is started before the restart is asked for, so that it can still
    // delete the folder while Windows shuts down. A silent uninstall never restarts: the
    // administrator learns of the restart from the exit code.
    if (m_session.RebootFlag() != 0) {
        m_log.Line(m_switches.silent ? "a restart is needed; Windows is not restarted" : "restarting Windows");
        if (!m_switches.silent)
            RequestRestart();
    }
    const ExitDecision exit = DecideExitCode(EndingOfRun(ran));
    m_log.Line("done, exit code " + std::to_string(exit.code) + ": " + DescribeOutcomeCounts(m_session.Outcomes())
               + "; " + exit.reason);
    return administered ? exit.code : kInteractiveExitCode;
}

bool UninstallerApp::TakeUninstallLock()
{
    const std::string guid = m_session.Record().GetGUID();
    // Without a GUID there is no uninstall entry to name the installation by.
    if (guid.empty())
        return true;
    if (m_lock.Take("UnInstall." + guid) != MachineLock::Taking::HeldElsewhere)
        return true;
    const std::string appName = m_session.Record().GetAppName();
    m_log.Line("the uninstall of " + guid + " is already running: nothing is done");
    (void)m_answerer.AnswerBox(FormatText(kAlreadyRunningText, appName.c_str()), appName, MB_OK | MB_ICONINFORMATION,
                               BoxOwner::None);
    return false;
}

void UninstallerApp::LoadRecordOnce()
{
    if (m_session.IsLoaded())
        return;
    m_session.SetDescriptionPath(JoinPath(m_appFolder, "Setup.Kvx"));
    m_session.LoadRecord();
}

void UninstallerApp::OpenLog()
{
    if (!m_switches.logPath.empty()) {
        // A log that cannot be written does not stop the uninstall; the administrator sees its
        // absence.
        (void)m_log.OpenFile(m_switches.logPath);
        return;
    }
    if (!m_switches.silent && !m_switches.preview)
        return;
    // A preview is a report and always goes somewhere; a silent uninstall reports to a prompt
    // when it has one.
    if (m_log.OpenParentConsole() || !m_switches.preview)
        return;
    // The report is named after the application, as the record that the preview reads names it.
    LoadRecordOnce();
    m_previewLogPath = PreviewLogPath(m_session.Record().GetAppName());
    m_previewLogWritten = !m_previewLogPath.empty() && m_log.OpenFile(m_previewLogPath);
}

void UninstallerApp::ShowPreviewLogPlace() const
{
    if (m_previewLogPath.empty())
        return;
    const std::string text = m_previewLogWritten ? "The preview of the uninstall is in " + m_previewLogPath + "."
                                                 : "The preview of the uninstall could not be written to "
            + m_previewLogPath + ".";
    (void)m_answerer.AnswerBox(text, GetModuleCaption(), MB_OK | (m_previewLogWritten ? MB_ICONINFORMATION : MB_ICONWARNING),
                               BoxOwner::None);
}

RunEnding UninstallerApp::EndingOfRun(bool ran) const
{
    RunEnding ending;
    ending.cancelled = m_session.State() == UninstallState::Cancelled;
    ending.completed = ran;
    ending.restartChosen = m_session.RebootFlag() != 0;
    ending.outcomes = m_session.Outcomes();
    return ending;
}

int UninstallerApp::RunPreview()
{
    m_log.SetPreview(true);
    const InstallRecord& record = m_session.Record();
    m_log.Line("preview of the uninstall of " + record.GetAppName() + ": nothing is removed");
    m_log.Line("install record " + m_session.DescriptionPath());
    if (record.ReadError()) {
        m_log.Line("the install record could be read only in part: the uninstall would remove nothing");
        return kExitFatalError;
    }
    const std::string script = ReadUninstallScript(record);
    if (!script.empty() && record.Getsftype() == kScriptTypeVoScript) {
        std::string failing;
        const WriteTrust trust = ScriptFilesTrust(m_session.GetUnInstallFolder(), failing);
        m_log.Line(trust.trusted ? DescribeScriptedUninstall(script)
                                 : "the uninstall script would not be run, as " + ChangeableReason(trust)
                                       + ": the record's own removal would run instead");
    }

    CheckRecordWriters(true);
    PreviewRemoval preview(m_session);
    LimitedRemoval operations(preview, m_recordWriters, m_session.GetDescPath());
    SilentRunView view;
    UninstallRun run(view, operations, &m_session.Language(), &m_log);
    run.Execute(record);
    ReportUninstallFolder(true); // the copy would be started
    RunEnding ending;
    ending.outcomes = run.Counts();
    const ExitDecision exit = DecideExitCode(ending);
    m_log.Line("preview done: " + std::to_string(m_log.Count(RemovalOutcome::Removed)) + " to remove, "
               + std::to_string(m_log.Count(RemovalOutcome::Kept)) + " to keep, "
               + std::to_string(m_log.Count(RemovalOutcome::NotThere)) + " not there, "
               + std::to_string(m_log.Count(RemovalOutcome::Failed)) + " would fail, "
               + std::to_string(m_log.Count(RemovalOutcome::AtRestart)) + " in use now; exit code "
               + std::to_string(exit.code) + ": " + exit.reason);
    return exit.code;
}

void UninstallerApp::ReportUninstallFolder(bool copyRuns)
{
    const std::string folder = m_session.GetUnInstallFolder();
    ItemResult result;
    if (folder.empty())
        result = NotThere("the record names none");
    else if (const std::string refusal = CleanupRefusalReason(folder, GetModulePath()); !refusal.empty())
        result = Kept(refusal);
    else if (m_recordWriters.Limits() && !m_recordWriters.CouldRemove(folder))
        result = Kept(m_recordWriters.Reason());
    else if (!copyRuns) {
        result = Failed("the cleanup copy could not be started");
        m_session.Outcomes().Add(RemovalOutcome::Failed);
    }
    else
        result = Removed("by the cleanup copy, with all it still holds, once the uninstaller has ended");
    m_log.Item(RemovalItemKind::UninstallFolder, folder, result);
}

bool UninstallerApp::RunUninstall()
{
    LoadRecordOnce();
    MarkStep("record-loaded");
    // A record that could be read only in part names only part of the installation; removing
    // that part and the uninstall folder would leave a broken application behind.
    if (m_session.Record().ReadError())
        return false;
    CheckRecordWriters(false);

    SetBannerPaths(m_appFolder);

    const std::string script = ReadUninstallScript(m_session.Record());
    if (script.empty() || m_session.Record().Getsftype() != kScriptTypeVoScript)
        return RunDefaultFlow(Flows());
    // A script that was not run leaves the uninstall to the record, as for a record without
    // one: the user still gets what the installation put there removed.
    std::string failing;
    const WriteTrust trust = ScriptFilesTrust(m_session.GetUnInstallFolder(), failing);
    if (!trust.trusted) {
        TellNotRun(failing, trust);
        m_log.Line("the uninstall script was not run: the record's own removal runs instead");
        return RunDefaultFlow(Flows());
    }
    return RunScriptedFlow(Flows(), script);
}

void UninstallerApp::CheckRecordWriters(bool preview)
{
    m_recordWriters = FindRecordWriters(m_session.DescriptionPath());
    if (!m_recordWriters.Limits())
        return;
    const std::string text = "The install record " + m_session.DescriptionPath()
        + " may have been edited by others than the administrators. The uninstall "
        + (preview ? "would remove" : "removes")
        + " only what they could have removed themselves and keeps the rest (" + m_recordWriters.Reason() + ").";
    // A silent uninstall writes the box to its log.
    if (preview || !m_switches.silent)
        m_log.Line(text);
    if (!preview)
        (void)m_answerer.AnswerBox(text, GetModuleCaption(), MB_OK | MB_ICONWARNING, BoxOwner::ActiveWindow);
}

void UninstallerApp::SetBannerPaths(const std::string& folder)
{
    m_topBannerPath = JoinPath(folder, "TopBar.bmp");
    if (!FileExists(m_topBannerPath))
        m_topBannerPath.clear();
    m_leftBannerPath = JoinPath(folder, "LeftBar.bmp");
    if (!FileExists(m_leftBannerPath))
        m_leftBannerPath.clear();
}

void UninstallerApp::LaunchCleanupCopy()
{
    // A record that could be read only in part must not lead to the uninstall folder's deletion
    // either: the user needs the uninstaller and its record to try again.
    const std::string folder = m_session.GetUnInstallFolder();
    if (m_session.State() != UninstallState::Uninstall) {
        m_log.Item(RemovalItemKind::UninstallFolder, folder, Kept("the uninstall was cancelled"));
        return;
    }
    if (m_session.KeepsUninstallFolder() || m_session.Record().ReadError()) {
        m_log.Item(RemovalItemKind::UninstallFolder, folder, Kept("kept so that the uninstall can be run again"));
        return;
    }
    // The copy is started only for the folder this uninstaller lies in, and not for one that
    // those who could have written the record could not have removed themselves.
    const bool limited = m_recordWriters.Limits() && !m_recordWriters.CouldRemove(folder);
    const bool mayStart = !folder.empty() && !limited && CleanupRefusalReason(folder, GetModulePath()).empty();
    ReportUninstallFolder(mayStart && StartCleanupCopy(GetModulePath(), folder));
}

void UninstallerApp::RequestRestart()
{
    (void)RestartWindows();
}

void UninstallerApp::RunCleanupMode(const std::string& parameter)
{
    RunCleanup(ParseCleanupParameter(parameter));
    MarkStep("cleanup-done");
    // The copy's own work folder goes last; its running program, which Windows does not let
    // go while it runs, goes with the folder at the next restart.
    RemoveWorkFolder(m_appFolder);
}
