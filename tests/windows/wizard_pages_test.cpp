// The finish, restart and waiting pages, shown in this process and answered from a second
// thread as a person would answer them.

#include "app/pages/finish_page.h"
#include "app/pages/resource.h"
#include "app/pages/restart_page.h"
#include "app/flows/uninstall_object.h"
#include "app/uninstaller_app.h"
#include "app/voscript/voscript_runner.h"
#include "app/pages/waiting_windows.h"
#include "tests/support/fixtures.h"
#include "tests/support/page_thread.h"
#include "tests/support/scratch.h"
#include "tests/support/window_driver.h"

#include <gtest/gtest.h>

namespace {

UninstallerApp& AppNamed(const std::string& name)
{
    static UninstallerApp app;
    app.Session().Record().SetAppName(name);
    app.Session().SetRebootFlag(0);
    return app;
}

}

TEST(RestartPage, FinishWithRestartNowSetsTheRebootFlag)
{
    UninstallerApp& app = AppNamed("Sample App");
    RestartPage page(app, "Uninstall Sample App");
    PageResult result = PageBack;
    {
        PageThread shown([&] { result = page.Show(); });
        HWND window = WaitForWindow("Uninstall Sample App", "#32770", GetCurrentProcessId());
        ASSERT_NE(nullptr, window);
        EXPECT_EQ("It will restart your computer to complete Sample App uninstall.", DialogItemText(window, IDC_MESSAGE));
        EXPECT_TRUE(IsDialogItemChecked(window, IDC_RESTART_NOW)) << "restarting now is preselected";
        PressButton(window, IDOK);
    }
    EXPECT_EQ(PageFinish, result);
    EXPECT_EQ(1, app.Session().RebootFlag());
}

TEST(RestartPage, FinishWithLaterLeavesTheFlagAndClosingGivesCancel)
{
    UninstallerApp& app = AppNamed("Sample App");
    RestartPage later(app, "Later");
    PageResult result = PageBack;
    {
        PageThread shown([&] { result = later.Show(); });
        HWND window = WaitForWindow("Later", "#32770", GetCurrentProcessId());
        ASSERT_NE(nullptr, window);
        SetCheck(window, IDC_RESTART_NOW, false);
        SetCheck(window, IDC_RESTART_LATER, true);
        PressButton(window, IDOK);
    }
    EXPECT_EQ(PageFinish, result);
    EXPECT_EQ(0, app.Session().RebootFlag());

    RestartPage closed(app, "Closed");
    {
        PageThread shown([&] { result = closed.Show(); });
        HWND window = WaitForWindow("Closed", "#32770", GetCurrentProcessId());
        ASSERT_NE(nullptr, window);
        CloseWithTheCloseBox(window);
    }
    EXPECT_EQ(PageCancel, result);
    EXPECT_EQ(0, app.Session().RebootFlag());
}

// DoDialog gives a script what the page gives when its default button is pressed, wherever the
// script runs: the real pages, the voscript runner, and a silent uninstall (which answers by
// the same table; its end-to-end run is AdminSwitches.SilentRunWhoseScriptAsksForARestart...).
TEST(DoDialogAnswers, RealPagesAndTheRunnerAnswerAsTheDefaultButton)
{
    struct Row {
        ScriptPage page;
        int result;
        bool writesLaunchStates;
        bool setsRebootFlag;
    };
    const Row table[] = {{ScriptPage::Progress, 0, false, false},
                         {ScriptPage::Finish, PageCancel, true, false},
                         {ScriptPage::Restart, PageFinish, false, true}};
    for (const Row& row : table) {
        const DefaultPageAnswer& answer = DefaultAnswerOf(row.page);
        EXPECT_EQ(row.result, answer.result) << static_cast<int>(row.page);
        EXPECT_EQ(row.writesLaunchStates, answer.writesLaunchStates) << static_cast<int>(row.page);
        EXPECT_EQ(row.setsRebootFlag, answer.setsRebootFlag) << static_cast<int>(row.page);
    }
    EXPECT_EQ(0, kUnknownPageResult);

    UninstallerApp& app = AppNamed("Sample App");
    FinishPage finish(app, "Default Finish", "Sample App");
    PageResult result = PageBack;
    {
        PageThread shown([&] { result = finish.Show(); });
        HWND window = WaitForWindow("Default Finish", "#32770", GetCurrentProcessId());
        ASSERT_NE(nullptr, window);
        PressButton(window, IDOK);
    }
    EXPECT_EQ(table[1].result, result);
    EXPECT_EQ(table[1].writesLaunchStates, finish.EndedWithOk());
    RestartPage restart(app, "Default Restart");
    {
        PageThread shown([&] { result = restart.Show(); });
        HWND window = WaitForWindow("Default Restart", "#32770", GetCurrentProcessId());
        ASSERT_NE(nullptr, window);
        PressButton(window, IDOK);
    }
    EXPECT_EQ(table[2].result, result);
    EXPECT_EQ(1, app.Session().RebootFlag());

    std::string output;
    EXPECT_EQ(0, RunVoScript("Function string main\r\n{\r\n"
                             "return \"\" + Uninstall.DoDialog(\"SdUninstallProcess\") + \",\" + "
                             "Uninstall.DoDialog(\"SdUninstallFinish\") + \",\" + Uninstall.DoDialog(\"SdUninstallReboot\") + "
                             "\",\" + Uninstall.DoDialog(\"NoSuchPage\")\r\n}\r\n",
                             "main", {}, output));
    EXPECT_NE(std::string::npos, output.find("result: 0,3,5,0\n")) << output;
    EXPECT_NE(std::string::npos, output.find("restart now")) << output;
}

TEST(FinishPage, OneLaunchEntryWithoutPromptIsOfferedCheckedAndStartedOnFinish)
{
    UninstallerApp& app = AppNamed("Sample App");
    ScratchFolder scratch("launch");
    const std::string server = scratch.Join("LaunchedServer.exe");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", server));
    FinishPage page(app, "Finish One", "Sample App");
    page.AddLaunch(server, "/REGSERVER", "", 1);
    PageResult result = PageBack;
    {
        PageThread shown([&] { result = page.Show(); });
        HWND window = WaitForWindow("Finish One", "#32770", GetCurrentProcessId());
        ASSERT_NE(nullptr, window);
        EXPECT_EQ("Launch Sample App", DialogItemText(window, IDC_LAUNCH_FIRST));
        EXPECT_TRUE(IsDialogItemChecked(window, IDC_LAUNCH_FIRST));
        EXPECT_FALSE(IsDialogItemVisible(window, IDC_LAUNCH_SECOND));
        PressButton(window, IDOK);
    }
    EXPECT_EQ(PageCancel, result) << "the finish page reports Cancel whichever way it closed";
    EXPECT_TRUE(page.EndedWithOk());
    EXPECT_EQ(1u, page.Launches()[0].state);
    bool started = false;
    for (int i = 0; i < 100 && !started; ++i, Sleep(50))
        started = ReadFileText(scratch.Join("server.log")).find("/REGSERVER") != std::string::npos;
    EXPECT_TRUE(started) << "the checked program was started with its parameters";
}

TEST(FinishPage, UncheckedEntryStartsNothingAndReportsZero)
{
    UninstallerApp& app = AppNamed("Sample App");
    ScratchFolder scratch("nolaunch");
    const std::string server = scratch.Join("NotLaunched.exe");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", server));
    FinishPage page(app, "Finish Two", "Sample App");
    page.AddLaunch(server, "/REGSERVER", "Start the first", 1);
    page.AddLaunch("", "", "Read the notes", 0);
    {
        PageThread shown([&] { (void)page.Show(); });
        HWND window = WaitForWindow("Finish Two", "#32770", GetCurrentProcessId());
        ASSERT_NE(nullptr, window);
        EXPECT_EQ("Read the notes", DialogItemText(window, IDC_LAUNCH_SECOND));
        EXPECT_FALSE(IsDialogItemChecked(window, IDC_LAUNCH_SECOND));
        SetCheck(window, IDC_LAUNCH_FIRST, false);
        SetCheck(window, IDC_LAUNCH_SECOND, true);
        PressButton(window, IDOK);
    }
    EXPECT_EQ(0u, page.Launches()[0].state);
    EXPECT_EQ(1u, page.Launches()[1].state) << "a checked entry with no command starts nothing but reports 1";
    Sleep(500);
    EXPECT_FALSE(PathExists(scratch.Join("server.log")));
}

TEST(WaitingWindows, ShowThePromptOrTheWaitingText)
{
    // Modeless windows need no person: they are read where they were created.
    UninstallerApp& app = AppNamed("Sample App");
    WaitingWindow box(app, WaitingWindow::Kind::Box, "Copying your settings...");
    ASSERT_TRUE(box.Open());
    EXPECT_EQ("Copying your settings...", DialogItemText(box.Window(), IDC_HEADING));
    EXPECT_TRUE(IsWindowVisible(box.Window()));

    WaitingWindow plainBox(app, WaitingWindow::Kind::Box, "");
    ASSERT_TRUE(plainBox.Open());
    EXPECT_EQ("Waiting for uninstall...", DialogItemText(plainBox.Window(), IDC_HEADING)) << "the template's text";

    WaitingWindow page(app, WaitingWindow::Kind::Page, "");
    ASSERT_TRUE(page.Open());
    EXPECT_EQ("Waiting for uninstall...", DialogItemText(page.Window(), IDC_HEADING)) << "never the setup text";
}
