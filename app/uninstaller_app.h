#pragma once

#include "app/admin_switches.h"
#include "app/flows/app_script_host.h"
#include "app/run/limited_removal.h"
#include "app/run/exit_code.h"
#include "app/run/run_log.h"
#include "app/flows/scripted_flow.h"
#include "app/run/uninstall_session.h"
#include "script/script_engine.h"
#include "sysops/machine_lock.h"

#include <string>

// The application object: one per process. All work happens inside Start, which returns when
// the work is done; there is no main window and no message loop of its own, only the modal
// loops of the pages.
class UninstallerApp {
public:
    // The whole program: picks the mode from the executable's own name and runs it. Gives the
    // process's exit code: Windows Installer's codes for a preview or a silent uninstall, and
    // for every other start 1, the failure that start-up has always reported.
    [[nodiscard]] int Start(const std::string& parameter, const AdminSwitches& switches);

    // Prepares the session and runs the default or the scripted flow.
    bool RunUninstall();

    // Asks whether the application that the loaded record names is to be uninstalled.
    [[nodiscard]] bool ConfirmUninstall();

    // The banner pictures are TopBar.bmp and LeftBar.bmp of the folder; a path stays empty when
    // its file does not exist, and the pages then show their default.
    void SetBannerPaths(const std::string& folder);

    // Copies the running executable to the temp folder as the cleanup copy and starts it with
    // this process id and the uninstall folder, unless the uninstall was cancelled or a script
    // failed before anything was removed.
    void LaunchCleanupCopy();

    // A silent uninstall shows no page, waiting window or message box.
    [[nodiscard]] bool IsSilent() const { return m_switches.silent; }
    // The log's report of every item, when a log is open.
    [[nodiscard]] RemovalReport* Report() { return m_log.IsOpen() ? &m_log : nullptr; }
    [[nodiscard]] RunLog& Log() { return m_log; }
    // Who besides the administrators could have written the install record; the run removes
    // only what they could have removed.
    [[nodiscard]] const RecordWriters& Writers() const { return m_recordWriters; }

    [[nodiscard]] UninstallSession& Session() { return m_session; }
    [[nodiscard]] const std::string& AppFolder() const { return m_appFolder; }
    [[nodiscard]] const std::string& TopBannerPath() const { return m_topBannerPath; }
    [[nodiscard]] const std::string& LeftBannerPath() const { return m_leftBannerPath; }
    // The interpreter of the scripted flow, and the app's own references to its host objects.
    [[nodiscard]] ScriptEngine& Engine() { return m_scriptEngine; }
    [[nodiscard]] UninstallHostObjects& HostObjects() { return m_hostObjects; }

private:
    [[nodiscard]] int RunUninstallMode();
    [[nodiscard]] int RunPreview();
    // The install record beside the uninstaller, read the first time it is needed.
    void LoadRecordOnce();
    void OpenLog();
    // Finds who could have written the record and tells the user when that limits the run.
    void CheckRecordWriters(bool preview);
    // A preview without /LOG and without a command prompt tells in a box where its report is.
    void ShowPreviewLogPlace() const;
    [[nodiscard]] RunEnding EndingOfRun(bool ran) const;
    // False, after telling so, when another uninstall of the same installation runs.
    [[nodiscard]] bool TakeUninstallLock();
    // The uninstall folder's line of the report: the cleanup copy deletes it when it runs.
    void ReportUninstallFolder(bool copyRuns);
    void RunCleanupMode(const std::string& parameter);
    void RequestRestart();

    AdminSwitches m_switches;
    RunLog m_log;
    RecordWriters m_recordWriters;
    std::string m_previewLogPath; // set when the preview's report goes to the temp folder
    bool m_previewLogWritten = false;
    MachineLock m_lock;
    std::string m_appFolder;
    UninstallSession m_session;
    std::string m_topBannerPath;
    std::string m_leftBannerPath;
    AppScriptHost m_scriptHost;
    ScriptEngine m_scriptEngine{&m_scriptHost};
    // Released before the engine, which holds the other reference to each.
    UninstallHostObjects m_hostObjects;
};

// The running executable's folder and its file name.
[[nodiscard]] std::string GetAppFolder();
[[nodiscard]] std::string GetExeName();
