// The finish, restart and waiting pages, shown in this process and answered from a second
// thread as a person would answer them.

#include "app/flows/uninstall_object.h"
#include "app/pages/answerer.h"
#include "app/pages/finish_page.h"
#include "app/pages/page_context.h"
#include "app/pages/resource.h"
#include "app/pages/restart_page.h"
#include "app/pages/waiting_windows.h"
#include "app/voscript/voscript_runner.h"
#include "tests/support/fixtures.h"
#include "tests/support/page_thread.h"
#include "tests/support/scratch.h"
#include "tests/support/window_driver.h"
#include "ui/language_file.h"

#include <gtest/gtest.h>

namespace {

// The pages of an uninstall without language file or banners, answered by a person.
PageContext PlainPages()
{
    static const LanguageFile language;
    static InteractiveAnswerer answerer;
    return {language, "", "", answerer};
}

}

TEST(RestartPage, FinishWithRestartNowChoosesTheRestart)
{
    RestartPage page(PlainPages(), "Uninstall Sample App", "Sample App");
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
    EXPECT_TRUE(page.RestartChosen());
}

TEST(RestartPage, FinishWithLaterLeavesTheFlagAndClosingGivesCancel)
{
    RestartPage later(PlainPages(), "Later", "Sample App");
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
    EXPECT_FALSE(later.RestartChosen());

    RestartPage closed(PlainPages(), "Closed", "Sample App");
    {
        PageThread shown([&] { result = closed.Show(); });
        HWND window = WaitForWindow("Closed", "#32770", GetCurrentProcessId());
        ASSERT_NE(nullptr, window);
        CloseWithTheCloseBox(window);
    }
    EXPECT_EQ(PageCancel, result);
    EXPECT_FALSE(closed.RestartChosen());
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

    FinishPage finish(PlainPages(), "Default Finish", "Sample App");
    PageResult result = PageBack;
    {
        PageThread shown([&] { result = finish.Show(); });
        HWND window = WaitForWindow("Default Finish", "#32770", GetCurrentProcessId());
        ASSERT_NE(nullptr, window);
        PressButton(window, IDOK);
    }
    EXPECT_EQ(table[1].result, result);
    EXPECT_EQ(table[1].writesLaunchStates, finish.EndedWithOk());
    RestartPage restart(PlainPages(), "Default Restart", "Sample App");
    {
        PageThread shown([&] { result = restart.Show(); });
        HWND window = WaitForWindow("Default Restart", "#32770", GetCurrentProcessId());
        ASSERT_NE(nullptr, window);
        PressButton(window, IDOK);
    }
    EXPECT_EQ(table[2].result, result);
    EXPECT_TRUE(restart.RestartChosen());

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
    ScratchFolder scratch("launch");
    const std::string server = scratch.Join("LaunchedServer.exe");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", server));
    FinishPage page(PlainPages(), "Finish One", "Sample App");
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
    ScratchFolder scratch("nolaunch");
    const std::string server = scratch.Join("NotLaunched.exe");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", server));
    FinishPage page(PlainPages(), "Finish Two", "Sample App");
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
    WaitingWindow box(PlainPages(), WaitingWindow::Kind::Box, "Copying your settings...");
    ASSERT_TRUE(box.Open());
    EXPECT_EQ("Copying your settings...", DialogItemText(box.Window(), IDC_HEADING));
    EXPECT_TRUE(IsWindowVisible(box.Window()));

    WaitingWindow plainBox(PlainPages(), WaitingWindow::Kind::Box, "");
    ASSERT_TRUE(plainBox.Open());
    EXPECT_EQ("Waiting for uninstall...", DialogItemText(plainBox.Window(), IDC_HEADING)) << "the template's text";

    WaitingWindow page(PlainPages(), WaitingWindow::Kind::Page, "");
    ASSERT_TRUE(page.Open());
    EXPECT_EQ("Waiting for uninstall...", DialogItemText(page.Window(), IDC_HEADING)) << "never the setup text";
}
