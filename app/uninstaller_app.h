#pragma once

#include "app/admin_switches.h"
#include "app/flows/app_script_host.h"
#include "app/flows/flow_context.h"
#include "app/flows/scripted_flow.h"
#include "app/pages/answerer.h"
#include "app/run/exit_code.h"
#include "app/run/limited_removal.h"
#include "app/run/run_log.h"
#include "app/run/uninstall_session.h"
#include "script/script_engine.h"
#include "sysops/machine_lock.h"

#include <optional>
#include <string>

// The application object: one per process. All work happens inside Start, which returns when
// the work is done; there is no main window and no message loop of its own, only the modal
// loops of the pages.
class UninstallerApp {
public:
    // A silent uninstall (/S) shows no page, waiting window or message box: its answerer
    // answers them all unseen.
    explicit UninstallerApp(const AdminSwitches& switches);

    // The whole program: picks the mode from the executable's own name and runs it. Gives the
    // process's exit code: Windows Installer's codes for a preview or a silent uninstall, and
    // for every other start 1, the failure that start-up has always reported.
    [[nodiscard]] int Start(const std::string& parameter);

private:
    // Prepares the session and runs the default or the scripted flow.
    bool RunUninstall();

    // The banner pictures are TopBar.bmp and LeftBar.bmp of the folder; a path stays empty when
    // its file does not exist, and the pages then show their default.
    void SetBannerPaths(const std::string& folder);

    // Copies the running executable to the temp folder as the cleanup copy and starts it with
    // this process id and the uninstall folder, unless the uninstall was cancelled or a script
    // failed before anything was removed.
    void LaunchCleanupCopy();

    [[nodiscard]] FlowContext Flows();

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
    InteractiveAnswerer m_interactiveAnswerer;
    std::optional<SilentAnswerer> m_silentAnswerer;
    Answerer& m_answerer; // one of the two, for the whole process
    RecordWriters m_recordWriters;
    std::string m_previewLogPath; // set when the preview's report goes to the temp folder
    bool m_previewLogWritten = false;
    MachineLock m_lock;
    std::string m_appFolder;
    UninstallSession m_session;
    std::string m_topBannerPath;
    std::string m_leftBannerPath;
    AppScriptHost m_scriptHost{m_answerer};
    ScriptEngine m_scriptEngine{&m_scriptHost};
    // Released before the engine, which holds the other reference to each.
    UninstallHostObjects m_hostObjects;
};

// The running executable's folder and its file name.
[[nodiscard]] std::string GetAppFolder();
[[nodiscard]] std::string GetExeName();
