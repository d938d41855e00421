#include "script_test_support.h"

#include "app/voscript/voscript_runner.h"

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
    EXPECT_EQ("error: code=10 line=2 word=int f(int a,,b)\n", load.output);
    auto missing = RunScript("Section s\n{\n}\n", "nothere");
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ("error: code=11 line=-1 word=nothere\n", missing.output);
    auto failing = RunScript("Section s\n{\nMessageBox(\"before\")\nx = 1\n}\n", "s");
    EXPECT_EQ(1, failing.status);
    EXPECT_EQ("MessageBox: Prompt: before\nerror: code=13 line=4 word=x\n", failing.output);
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
    EXPECT_EQ("error: code=0 line=3 word=CallVBSFunction\n", outcome.output);
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
    EXPECT_EQ("Uninstall.DoDialog(\"SdUninstallProcess\") = 2\n"
              "Uninstall.DoDialog(\"SdUninstallFinish\", p) = 5\n"
              "  launch 1: app.exe |  |  | checked\n"
              "Uninstall.WriteProfileInt(\"Count\", \"07\")\n"
              "Uninstall.GetProfileString(\"count\", \"none\") = 07\n"
              "result: 2,5,07,1\n",
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
    EXPECT_EQ("event: OnUninstallBegin\nMessageBox: error: ErrorCode:8 , ErrorLine=3 , ErrorWord=Uninstall.getmodulefile\n",
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
