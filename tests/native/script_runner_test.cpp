#include "script_test_support.h"

#include "app/flows/scrambled_text.h"
#include "app/voscript/uninstall_folder.h"
#include "app/voscript/voscript_runner.h"
#include "library/portable_system_object.h"
#include "record/install_record.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {

struct RunOutcome {
    int status;
    std::string output;
};

RunOutcome RunScript(const std::string& script, const std::string& function, const std::vector<std::string>& arguments = {})
{
    RunOutcome outcome{};
    outcome.status = RunVoScript(Crlf(script), function, arguments, outcome.output);
    return outcome;
}

}

TEST(VoScriptRunner, PrintsMessageBoxesThenTheResult)
{
    auto outcome = RunScript("Function string Main(string who, int n)\n"
                             "{\n"
                             "MessageBox(\"Hello \" + who + \"\\nline two\", \"Greeting\")\n"
                             "var int answer = MessageBox(\"again\")\n"
                             "return \"n=\" + n + \" answer=\" + answer\n"
                             "}\n",
                             "main", {"World", "41"});
    EXPECT_EQ(0, outcome.status);
    EXPECT_EQ("MessageBox: Greeting: Hello World\\nline two\n"
              "MessageBox: Prompt: again\n"
              "result: n=41 answer=1\n",
              outcome.output);
}

TEST(VoScriptRunner, ReportsLoadAndScriptErrors)
{
    auto load = RunScript("\nFunction int f(int a,,b)\n{\n}\n", "f");
    EXPECT_EQ(1, load.status);
    EXPECT_EQ("error: code=10 (a bad Section or Function header) line=2 word=int f(int a,,b)\n", load.output);
    auto missing = RunScript("Section s\n{\n}\n", "nothere");
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ("error: code=11 (no such function) line=-1 word=nothere\n", missing.output);
    auto failing = RunScript("Section s\n{\nMessageBox(\"before\")\nx = 1\n}\n", "s");
    EXPECT_EQ(1, failing.status);
    EXPECT_EQ("MessageBox: Prompt: before\nerror: code=13 (assignment to a name that is not a variable) line=4 word=x\n", failing.output);
}

TEST(VoScriptRunner, ArgumentsAreUntypedTexts)
{
    auto outcome = RunScript("Function string echo(string a)\n{\nreturn a\n}\n", "echo", {"two\r\nlines"});
    EXPECT_EQ(0, outcome.status);
    EXPECT_EQ("result: two\\nlines\n", outcome.output);
    auto none = RunScript("Section s\n{\n}\n", "s");
    EXPECT_EQ("result: \n", none.output);
}

TEST(VoScriptRunner, VbScriptIsNotAvailable)
{
    auto outcome = RunScript("Section s\n{\nCallVBSFunction(\"F\")\n}\n", "s");
    EXPECT_EQ(1, outcome.status);
    EXPECT_EQ("error: code=0 (a command or a call failed) line=3 word=CallVBSFunction\n", outcome.output);
}

TEST(VoScriptRunner, UninstallStandInPrintsEachCallAndGoesThroughThePages)
{
    auto outcome = RunScript("Section s\n{\n"
                             "var CWndParam p\np.SetValue(\"LaunchCount\", 1)\np.SetValue(\"Launch1_Cmd\", \"app.exe\")\n"
                             "var int a = Uninstall.DoDialog(\"SdUninstallProcess\")\n"
                             "var int b\nb = Uninstall.DoDialog(\"SdUninstallFinish\", p)\n"
                             "Uninstall.WriteProfileInt(\"Count\", \"07\")\n"
                             "return \"\" + a + \",\" + b + \",\" + Uninstall.GetProfileString(\"count\", \"none\") + \",\" + p.GetValue(\"Launch1_Data\")\n"
                             "}\n",
                             "s");
    EXPECT_EQ(0, outcome.status);
    EXPECT_EQ("Uninstall.DoDialog(\"SdUninstallProcess\") = 0\n"
              "Uninstall.DoDialog(\"SdUninstallFinish\", p) = 3\n"
              "  launch 1: app.exe |  |  | checked\n"
              "Uninstall.WriteProfileInt(\"Count\", \"07\")\n"
              "Uninstall.GetProfileString(\"count\", \"none\") = 07\n"
              "result: 0,3,07,1\n",
              outcome.output);
}

TEST(VoScriptRunner, EventsRunInTheUninstallersOrderAndByItsRules)
{
    const std::string cancelling = "Section OnUninstallEnd\n{\nMessageBox(SS_UNINSTALL_CANCEL)\n}\n"
                                   "Section OnUninstallProcess\n{\nMessageBox(\"removing\")\n}\n"
                                   "Section OnUninstallBegin\n{\nUninstall.cancelUninstall()\n}\n";
    std::string output;
    EXPECT_EQ(0, RunVoScriptEvents(Crlf(cancelling), output));
    EXPECT_EQ("event: OnUninstallBegin\nUninstall.cancelUninstall()\nevent: OnUninstallEnd\nMessageBox: Prompt: 11\n"
              "cancelled: no cleanup copy would follow\n",
              output);

    output.clear();
    EXPECT_EQ(1, RunVoScriptEvents(Crlf("Section OnUninstallBegin\n{\nUninstall.getmodulefile()\n}\n"
                                        "Section OnUninstallEnd\n{\n}\n"), output));
    EXPECT_EQ("event: OnUninstallBegin\nMessageBox: error: ErrorCode:8 , ErrorLine=3 , ErrorWord=Uninstall.getmodulefile\n"
              "error: code=8 (no such method, or a name in the wrong case) line=3 word=Uninstall.getmodulefile\n",
              output);
    output.clear();
    EXPECT_EQ(0, RunVoScriptEvents(Crlf("Section OnUninstallEnd\n{\n}\n"), output));
    EXPECT_EQ("no OnUninstallBegin: the default flow runs, no event is called\n", output);
}

TEST(VoScriptRunner, FilesWithLineFeedsOnlyAreTold)
{
    EXPECT_TRUE(HasLineFeedsOnly("Section s\n{\n}\n"));
    EXPECT_FALSE(HasLineFeedsOnly("Section s\r\n{\r\n}\r\n"));
    EXPECT_FALSE(HasLineFeedsOnly("Section s"));
}

// The uninstall folder as the installer leaves it: the record, the scrambled script and
// VBScript code, and a ProFile.ini with a value of the installation.
TEST(VoScriptRunner, WalksAnUninstallFolderAsTheUninstallerWouldWithoutChangingTheMachine)
{
    const std::filesystem::path folder = "test_VoScriptRunner_uninstall_folder";
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    };
    InstallRecord record;
    record.SetUnInstallFolder("C:\\Program Files\\Sample\\uninst");
    record.SetAppName("Sample");
    record.SetGUID("{5A3E}");
    record.Setsftype(2);
    record.Setsfentype(2);
    ASSERT_TRUE(record.Save((folder / "Setup.Kvx").string()));
    write("hw.dll", Scramble(Crlf("Section OnUninstallBegin\n{\n"
                                  "var int first\nfirst = MessageBox(\"Remove settings?\", \"Question\", 4)\n"
                                  "var int second\nsecond = MessageBox(\"Sure?\", \"Question\", 4)\n"
                                  "Uninstall.WriteProfileString(\"Answers\", \"\" + first + \",\" + second)\n"
                                  "}\n"
                                  "Section OnUninstallProcess\n{\n"
                                  "Uninstall.GetCurAppID()\nUninstall.GetModuleFile()\n"
                                  "Uninstall.GetProfileString(\"Installed\", \"none\")\n"
                                  "System.DeleteFile(\"settings.ini\")\n"
                                  "System.ExistFile(\"settings.ini\")\n}\n")));
    write("jt.dll", Scramble("Function F()\r\nEnd Function"));
    write("ProFile.ini", "[Other]\r\nInstalled=no\r\n[ProFileData]\r\nInstalled=yes\r\n");

    RunnerPlatform platform;
    platform.system = MakePortableSystemObject();
    platform.setup.answers = {7};
    std::string script, reason;
    ASSERT_TRUE(ReadUninstallFolder(folder.string(), {}, platform.setup, script, reason));
    EXPECT_EQ("", reason);
    EXPECT_EQ("Function F()\r\nEnd Function", platform.setup.windowsScript);
    std::string output;
    EXPECT_EQ(1, RunVoScriptEvents(script, output, platform));
    EXPECT_EQ("event: OnUninstallBegin\n"
              "MessageBox: Question: Remove settings?\n"
              "MessageBox: Question: Sure?\n"
              "Uninstall.WriteProfileString(\"Answers\", \"7,6\")\n"
              "event: OnUninstallProcess\n"
              "Uninstall.GetCurAppID() = {5A3E}\n"
              "Uninstall.GetModuleFile() = C:\\Program Files\\Sample\\uninst\\UnInstall.exe\n"
              "Uninstall.GetProfileString(\"Installed\", \"none\") = yes\n"
              "System.DeleteFile(\"settings.ini\")  (not carried out; --real carries it out)\n"
              "System.ExistFile needs the Windows runner, voscript.exe\n"
              "MessageBox: error: ErrorCode:8 , ErrorLine=15 , ErrorWord=System.ExistFile\n"
              "error: code=8 (no such method, or a name in the wrong case) line=15 word=System.ExistFile\n",
              output);

    // Unscrambled files with a record that says they are scrambled are not what the uninstaller
    // runs; a record that does not say so gives no script at all.
    record.Setsfentype(0);
    ASSERT_TRUE(record.Save((folder / "Setup.Kvx").string()));
    ASSERT_TRUE(ReadUninstallFolder(folder.string(), {}, platform.setup, script, reason));
    EXPECT_EQ("", script);
    EXPECT_EQ("the record's sfentype is 0, not 2: the uninstaller reads no script file", reason);
    std::filesystem::remove_all(folder);
}
