#include "app/uninstaller_app.h"

#include "app/cleanup_copy.h"
#include "app/default_flow.h"
#include "app/preview_removal.h"
#include "app/removal_run.h"
#include "app/silent_answers.h"
#include "app/startup_mode.h"
#include "base/path_text.h"
#include "resource.h"
#include "sysops/file_ops.h"
#include "sysops/module_path.h"
#include "sysops/restart.h"
#include "sysops/step_times.h"
#include "ui/string_table.h"
#include "wsh/script_dialogs.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace {

// The confirmation shows at most 199 characters of the name, as the installer's own profile
// read does.
constexpr DWORD kAppNameBuffer = 200;

// What start-up has always reported: failure, which nobody read.
constexpr int kInteractiveExitCode = 1;

// Where a preview started without /LOG and without a command prompt writes its report.
constexpr const char* kLogBesideRecord = "UnInstall.log";

}

std::string GetAppFolder() { return GetFolderPart(GetModulePath()); }

std::string GetExeName() { return GetFileNamePart(GetModulePath()); }

int UninstallerApp::Start(const std::string& parameter, const AdminSwitches& switches)
{
    // COM stays initialised for the life of the process: servers are unregistered and
    // scripts create objects on this thread until it ends.
    MarkProcessCreated("created");
    MarkStep("start");
    (void)CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    m_switches = switches;
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

bool UninstallerApp::ConfirmUninstall(const std::string& descriptionPath)
{
    char appName[kAppNameBuffer] = {};
    GetPrivateProfileStringA("Comm", "AppName", "", appName, kAppNameBuffer, descriptionPath.c_str());
    const std::string question = GetTextWith(TextId::ConfirmUninstall, &m_session, appName);
    return MessageBoxA(nullptr, question.c_str(), appName, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

int UninstallerApp::RunUninstallMode()
{
    const bool administered = m_switches.preview || m_switches.silent;
    if (m_switches.help) {
        MessageBoxA(nullptr, AdminSwitchesHelp(), GetModuleCaption().c_str(), MB_OK | MB_ICONINFORMATION);
        return administered ? kExitSuccess : kInteractiveExitCode;
    }
    const std::string languagePath = JoinPath(m_appFolder, "Setup.lr");
    if (FileExists(languagePath))
        (void)m_session.Language().LoadLanguage("Setup", languagePath);

    OpenLog();
    if (m_switches.silent) {
        m_scriptHost.AnswerBoxesSilently(m_log);
        AnswerSystemBoxesSilently(m_log);
        SetScriptDialogsAllowed(false);
    }
    const std::string descriptionPath = JoinPath(m_appFolder, "Setup.Kvx");
    if (!FileExists(descriptionPath)) {
        m_log.Line("no install record at " + descriptionPath + ": nothing to uninstall");
        // A silent uninstall tells only through its exit code and its log.
        if (!m_switches.silent) {
            const std::string caption = GetModuleCaption();
            const std::string text = GetText(TextId::NoUninstallInfo, &m_session);
            MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
        }
        return administered ? kExitFatalError : kInteractiveExitCode;
    }
    if (m_switches.preview)
        return RunPreview();
    MarkStep("confirm-asked");
    if (!m_switches.silent && !ConfirmUninstall(descriptionPath)) {
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
    const int exitCode = ExitCodeOfRun(ran);
    m_log.Line("done, exit code " + std::to_string(exitCode));
    return administered ? exitCode : kInteractiveExitCode;
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
    if (!m_log.OpenParentConsole() && m_switches.preview)
        (void)m_log.OpenFile(JoinPath(m_appFolder, kLogBesideRecord));
}

int UninstallerApp::ExitCodeOfRun(bool ran) const
{
    if (m_session.State() == UninstallState::Cancelled)
        return kExitCancelled;
    if (!ran)
        return kExitFatalError;
    return m_session.RebootFlag() != 0 ? kExitRestartNeeded : kExitSuccess;
}

int UninstallerApp::RunPreview()
{
    m_log.SetPreview(true);
    m_session.SetDescriptionPath(JoinPath(m_appFolder, "Setup.kvx"));
    m_session.LoadRecord();
    const InstallRecord& record = m_session.Record();
    m_log.Line("preview of the uninstall of " + record.GetAppName() + ": nothing is removed");
    m_log.Line("install record " + m_session.DescriptionPath());
    if (record.ReadError()) {
        m_log.Line("the install record could be read only in part: the uninstall would remove nothing");
        return kExitFatalError;
    }
    const std::string script = m_session.ReadUninstallScript();
    if (!script.empty() && record.Getsftype() == kScriptTypeVoScript)
        m_log.Line(DescribeScriptedUninstall(script));

    PreviewRemoval operations(m_session);
    SilentRunView view;
    UninstallRun run(view, operations, &m_session.Language(), &m_log);
    run.Execute(record);
    ReportUninstallFolder(true); // the copy would be started
    m_log.Line("preview done: " + std::to_string(m_log.Count(RemovalOutcome::Removed)) + " to remove, "
               + std::to_string(m_log.Count(RemovalOutcome::Kept)) + " to keep, "
               + std::to_string(m_log.Count(RemovalOutcome::NotThere)) + " not there, "
               + std::to_string(m_log.Count(RemovalOutcome::Failed)) + " would fail");
    return kExitSuccess;
}

void UninstallerApp::ReportUninstallFolder(bool copyRuns)
{
    const std::string folder = m_session.GetUnInstallFolder();
    ItemResult result;
    if (folder.empty())
        result = NotThere("the record names none");
    else if (const std::string refusal = CleanupRefusalReason(folder, GetModulePath()); !refusal.empty())
        result = Kept(refusal);
    else if (!copyRuns)
        result = Failed("the cleanup copy could not be started");
    else
        result = Removed("by the cleanup copy, with all it still holds, once the uninstaller has ended");
    m_log.Item(RemovalItemKind::UninstallFolder, folder, result);
}

bool UninstallerApp::RunUninstall()
{
    m_session.SetDescriptionPath(JoinPath(m_appFolder, "Setup.kvx"));
    m_session.LoadRecord();
    MarkStep("record-loaded");
    // A record that could be read only in part names only part of the installation; removing
    // that part and the uninstall folder would leave a broken application behind.
    if (m_session.Record().ReadError())
        return false;

    SetBannerPaths(m_appFolder);

    const std::string script = m_session.ReadUninstallScript();
    if (script.empty() || m_session.Record().Getsftype() != kScriptTypeVoScript)
        return RunDefaultFlow(*this);
    return RunScriptedFlow(*this, script);
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
    // The copy is started only for the folder this uninstaller lies in.
    const bool mayStart = !folder.empty() && CleanupRefusalReason(folder, GetModulePath()).empty();
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
}
