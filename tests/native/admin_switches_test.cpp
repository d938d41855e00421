// The administrator's command line and the answers a silent uninstall gives its message boxes.

#include "app/admin_switches.h"
#include "app/run/exit_code.h"
#include "app/pages/default_answer.h"

#include <gtest/gtest.h>

TEST(AdminSwitches, EitherPrefixAnyCaseAndUnknownSwitchesChangeNothing)
{
    const char* arguments[] = {"UnInstall.exe", "-Preview", "/s", "/LOG=C:\\logs\\a=b.log", "/quiet", "-?", "plain"};
    const AdminSwitches switches = ParseAdminSwitches(7, arguments);
    EXPECT_TRUE(switches.preview && switches.silent && switches.help);
    EXPECT_EQ("C:\\logs\\a=b.log", switches.logPath);

    const char* none[] = {"UnInstall.exe", "/PREVIEWS", "/SILENT", "LOG=x", "/LOG"};
    const AdminSwitches nothing = ParseAdminSwitches(5, none);
    EXPECT_FALSE(nothing.preview || nothing.silent || nothing.help);
    EXPECT_EQ("", nothing.logPath);
}

TEST(AdminSwitches, MessageBoxesAnswerWithTheirDefaultButton)
{
    constexpr unsigned kYesNo = 4, kYesNoCancel = 3, kOkCancel = 1, kDefault2 = 0x100, kDefault3 = 0x200;
    EXPECT_EQ(1, DefaultMessageBoxAnswer(0));                         // OK
    EXPECT_EQ(6, DefaultMessageBoxAnswer(kYesNo | 0x20));             // Yes, whatever the icon
    EXPECT_EQ(7, DefaultMessageBoxAnswer(kYesNo | kDefault2));        // No
    EXPECT_EQ(2, DefaultMessageBoxAnswer(kYesNoCancel | kDefault3));  // Cancel
    EXPECT_EQ(1, DefaultMessageBoxAnswer(kOkCancel | kDefault3));     // no third button: the first
    EXPECT_EQ(1, DefaultMessageBoxAnswer(0x0F));                      // an unknown button set shows OK
}

TEST(ExitCodes, AFailureOutweighsARestartAndACancelOutweighsBoth)
{
    RunEnding ending;
    ending.outcomes.Add(RemovalOutcome::Removed);
    ending.outcomes.Add(RemovalOutcome::Kept);
    EXPECT_EQ(0, DecideExitCode(ending).code) << "a kept file of the user is no failure";
    ending.restartChosen = true;
    EXPECT_EQ(3010, DecideExitCode(ending).code);
    ending.restartChosen = false;
    ending.outcomes.Add(RemovalOutcome::AtRestart);
    EXPECT_EQ(3010, DecideExitCode(ending).code);
    ending.outcomes.Add(RemovalOutcome::Failed);
    const ExitDecision failed = DecideExitCode(ending);
    EXPECT_EQ(1603, failed.code);
    EXPECT_EQ("1 item could neither be removed nor scheduled for the restart", failed.reason);
    ending.cancelled = true;
    EXPECT_EQ(1602, DecideExitCode(ending).code);
    RunEnding broken;
    broken.completed = false;
    EXPECT_EQ(1603, DecideExitCode(broken).code);
    EXPECT_EQ("1 removed, 1 kept, 0 not there, 1 failed, 1 at restart", DescribeOutcomeCounts(ending.outcomes));
}
