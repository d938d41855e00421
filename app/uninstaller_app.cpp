#include "app/uninstaller_app.h"

#include "app/cleanup_copy.h"
#include "app/default_flow.h"
#include "app/startup_mode.h"
#include "base/path_text.h"
#include "resource.h"
#include "sysops/file_ops.h"
#include "sysops/module_path.h"
#include "sysops/restart.h"
#include "sysops/step_times.h"
#include "ui/string_table.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace {

// The confirmation shows at most 199 characters of the name, as the installer's own profile
// read does.
constexpr DWORD kAppNameBuffer = 200;

}

std::string GetAppFolder() { return GetFolderPart(GetModulePath()); }

std::string GetExeName() { return GetFileNamePart(GetModulePath()); }

void UninstallerApp::Start(const std::string& parameter)
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
        RunUninstallMode();
        break;
    case StartupMode::Cleanup:
        RunCleanupMode(parameter);
        break;
    case StartupMode::Nothing:
        break;
    }
}

bool UninstallerApp::ConfirmUninstall(const std::string& descriptionPath)
{
    char appName[kAppNameBuffer] = {};
    GetPrivateProfileStringA("Comm", "AppName", "", appName, kAppNameBuffer, descriptionPath.c_str());
    const std::string question = GetTextWith(TextId::ConfirmUninstall, &m_session, appName);
    return MessageBoxA(nullptr, question.c_str(), appName, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void UninstallerApp::RunUninstallMode()
{
    const std::string languagePath = JoinPath(m_appFolder, "Setup.lr");
    if (FileExists(languagePath))
        (void)m_session.Language().LoadLanguage("Setup", languagePath);

    const std::string descriptionPath = JoinPath(m_appFolder, "Setup.Kvx");
    if (!FileExists(descriptionPath)) {
        const std::string caption = GetModuleCaption();
        const std::string text = GetText(TextId::NoUninstallInfo, &m_session);
        MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
        return;
    }
    MarkStep("confirm-asked");
    if (!ConfirmUninstall(descriptionPath))
        return;
    MarkStep("confirmed");

    (void)RunUninstall();
    LaunchCleanupCopy();
    MarkStep("copy-started");
    // The cleanup copy is started before the restart is asked for, so that it can still
    // delete the folder while Windows shuts down.
    if (m_session.RebootFlag() != 0)
        RequestRestart();
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
    if (m_session.State() != UninstallState::Uninstall || m_session.KeepsUninstallFolder()
        || m_session.Record().ReadError())
        return;
    const std::string folder = m_session.GetUnInstallFolder();
    if (folder.empty())
        return;
    (void)StartCleanupCopy(GetModulePath(), folder);
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
