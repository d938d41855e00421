// The administrator's command line and the exit codes that tell a silent uninstall's outcome.

#include "app/admin_switches.h"
#include "app/run/exit_code.h"

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
