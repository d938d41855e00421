#include "app/uninstaller_app.h"

#include "app/cleanup_copy.h"
#include "app/default_flow.h"
#include "app/path_text.h"
#include "app/startup_mode.h"
#include "resource.h"
#include "ui/string_table.h"
#include "sysops/file_ops.h"
#include "sysops/restart.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

namespace {

// The confirmation shows at most 199 characters of the name, as the installer's own profile
// read does.
constexpr DWORD kAppNameBuffer = 200;

std::string WithoutExtension(const std::string& name)
{
    auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}

std::string GetModulePath()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string GetAppFolder() { return GetFolderPart(GetModulePath()); }

std::string GetExeName() { return GetFileNamePart(GetModulePath()); }

void UninstallerApp::Start(const std::string& parameter)
{
    // COM stays initialised for the life of the process: servers are unregistered and
    // scripts create objects on this thread until it ends.
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
        const std::string caption = WithoutExtension(GetExeName());
        const std::string text = GetText(TextId::NoUninstallInfo, &m_session);
        MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
        return;
    }
    if (!ConfirmUninstall(descriptionPath))
        return;

    (void)RunUninstall();
    LaunchCleanupCopy();
    // The cleanup copy is started before the restart is asked for, so that it can still
    // delete the folder while Windows shuts down.
    if (m_session.RebootFlag() != 0)
        RequestRestart();
}

bool UninstallerApp::RunUninstall()
{
    m_session.SetDescriptionPath(JoinPath(m_appFolder, "Setup.kvx"));
    m_session.LoadRecord();
    // A record that could be read only in part names only part of the installation; removing
    // that part and the uninstall folder would leave a broken application behind.
    if (m_session.Record().ReadError())
        return false;

    m_topBannerPath = JoinPath(m_appFolder, "TopBar.bmp");
    if (!FileExists(m_topBannerPath))
        m_topBannerPath.clear();
    m_leftBannerPath = JoinPath(m_appFolder, "LeftBar.bmp");
    if (!FileExists(m_leftBannerPath))
        m_leftBannerPath.clear();

    const std::string script = m_session.ReadUninstallScript();
    if (script.empty() || m_session.Record().Getsftype() != 2)
        return RunDefaultFlow(*this);
    return RunScriptedFlow(*this, script);
}

void UninstallerApp::LaunchCleanupCopy()
{
    if (m_session.State() != UninstallSession::kStateUninstall || m_session.Record().ReadError())
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
}
