// The scripted flow without windows: which events run and when, what the Uninstall object hands
// to the pages and takes back, and how its function names are matched.
#include "script_test_support.h"

#include "app/flows/scripted_flow.h"
#include "app/flows/uninstall_object.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Records what the Uninstall object asked for, in one log line per call.
class RecordingActions final : public UninstallActions {
public:
    explicit RecordingActions(std::vector<std::string>& log) : m_log(log) {}

    int ShowPage(ScriptPage page, std::vector<LaunchEntry>& entries, bool& writeBack) override
    {
        std::string line = page == ScriptPage::Progress ? "progress" : page == ScriptPage::Finish ? "finish" : "restart";
        for (LaunchEntry& entry : entries) {
            line += " [" + entry.command + "|" + entry.parameters + "|" + entry.prompt + "|" + std::to_string(entry.state) + "]";
            entry.state = entry.state ? 0 : 1; // the user flips every box
        }
        m_log.push_back(line);
        writeBack = true;
        return page == ScriptPage::Progress ? 0 : 3;
    }
    std::string CurrentAppId() override { return "{GUID}"; }
    void RunDefaultFlow() override { m_log.push_back("default flow"); }
    void CancelUninstall() override
    {
        m_log.push_back("cancel");
        cancelled = true;
    }
    void OpenWaitingWindow(WaitingKind kind, const std::string& prompt) override
    {
        m_log.push_back(std::string(kind == WaitingKind::Box ? "open box " : "open page ") + prompt);
    }
    void CloseWaitingWindow(WaitingKind kind) override { m_log.push_back(kind == WaitingKind::Box ? "close box" : "close page"); }
    void WriteProfileText(const std::string& key, const std::string& value) override { m_log.push_back("write " + key + "=" + value); }
    std::string ReadProfileText(const std::string& key, const std::string& defaultText) override { return key + ":" + defaultText; }
    int ReadProfileInt(const std::string&, int defaultNumber) override { return defaultNumber + 1; }
    std::string ModulePath() override { return "C:\\App\\UnInstall.exe"; }
    bool IsRestartNeeded() override { return false; }

    bool cancelled = false;

private:
    std::vector<std::string>& m_log;
};

struct Flow : ScriptedFlowSite {
    Flow()
    {
        auto recording = std::make_unique<RecordingActions>(log);
        actions = recording.get();
        objects.uninstall = MakeCounted<UninstallObject>(std::move(recording));
        objects.system = MakeCounted<ScriptObject>("System");
        objects.service = MakeCounted<ScriptObject>("Service");
        objects.regKey = MakeCounted<ScriptObject>("CRegKey");
    }

    void RunDefaultFlow() override { log.push_back("default flow"); }
    std::string ReadWindowsScript() override { return "Function f\r\nEnd Function\r\n"; }
    bool IsCancelled() override { return actions->cancelled; }
    void ReportScriptError(const std::string& text) override { log.push_back("error box: " + text); }

    bool Run(std::string_view script) { return RunScriptedUninstall(engine, Crlf(script), objects, *this); }

    RecordingHost host;
    ScriptEngine engine{&host};
    std::vector<std::string> log;
    RecordingActions* actions = nullptr;
    UninstallHostObjects objects;
};

std::string Events(const char* begin, const char* process, const char* end)
{
    return std::string("Section OnUninstallBegin\n{\n") + begin + "\n}\nSection OnUninstallProcess\n{\n" + process
        + "\n}\nSection OnUninstallEnd\n{\n" + end + "\n}\n";
}

}

TEST(ScriptedFlow, RunsTheEventsInOrderAndSkipsTheRemovalAfterACancel)
{
    Flow plain;
    ASSERT_TRUE(plain.Run(Events("Uninstall.WriteProfileString(\"e\", \"begin\")", "Uninstall.WriteProfileString(\"e\", \"process\")",
                                 "Uninstall.WriteProfileString(\"e\", \"end\")")));
    EXPECT_EQ((std::vector<std::string>{"write e=begin", "write e=process", "write e=end"}), plain.log);
    EXPECT_EQ("Function f\r\nEnd Function\r\n", plain.engine.VbsCode()) << "the VBScript code is set before the first event";

    Flow cancelling;
    ASSERT_TRUE(cancelling.Run(Events("Uninstall.CancelUninstall()", "Uninstall.WriteProfileString(\"e\", \"process\")",
                                      "Uninstall.WriteProfileString(\"e\", \"end\")")));
    EXPECT_EQ((std::vector<std::string>{"cancel", "write e=end"}), cancelling.log);
}

TEST(ScriptedFlow, WithoutOnUninstallBeginTheDefaultFlowRunsAndNoEvent)
{
    Flow flow;
    ASSERT_TRUE(flow.Run("Section OnUninstallEnd\n{\nUninstall.CancelUninstall()\n}\n"));
    EXPECT_EQ((std::vector<std::string>{"default flow"}), flow.log);
    EXPECT_EQ("", flow.engine.VbsCode());
}

TEST(ScriptedFlow, TheFirstFailingEventIsReportedAndEndsTheFlow)
{
    Flow flow;
    EXPECT_FALSE(flow.Run(Events("Uninstall.WriteProfileString(\"e\", \"begin\")", "nosuchvariable = 1",
                                 "Uninstall.WriteProfileString(\"e\", \"end\")")));
    EXPECT_EQ((std::vector<std::string>{"write e=begin", "error box: ErrorCode:13 , ErrorLine=7 , ErrorWord=nosuchvariable"}),
              flow.log);

    Flow lowerCase;
    EXPECT_FALSE(lowerCase.Run(Events("Uninstall.getmodulefile()", "", "")));
    EXPECT_EQ((std::vector<std::string>{"error box: ErrorCode:8 , ErrorLine=3 , ErrorWord=Uninstall.getmodulefile"}),
              lowerCase.log)
        << "the profile and path functions are matched exactly";
}

TEST(ScriptedFlow, ConstantsAndHostObjectsAreTheScriptsToUseAndTheHostsToKeep)
{
    Flow flow;
    ASSERT_TRUE(flow.Run(Events("Uninstall.WriteProfileString(\"v\", \"\" + SS_UNINSTALL + \",\" + SS_UNINSTALL_CANCEL + \",\" + OT_NEXT"
                                " + \",\" + OT_FINISH + \",\" + SM_REMOVE + \",\" + SS_INSTALL_FINISH)\n"
                                "SS_UNINSTALL = 3\nSystem = Nothing\nUninstall.WriteProfileString(\"v\", SS_UNINSTALL)",
                                "", "")));
    EXPECT_EQ((std::vector<std::string>{"write v=10,11,2,5,4,4", "write v=10"}), flow.log) << "constants are read-only";
    EXPECT_EQ("System", flow.objects.system->ClassName()) << "the host keeps its reference";
    const VariableList& globals = flow.engine.GlobalVariables();
    std::vector<std::string> names;
    for (std::size_t i = 0; i < globals.Count(); ++i)
        names.push_back(globals.At(i)->Name());
    const auto first = std::find(names.begin(), names.end(), "Uninstall");
    ASSERT_NE(names.end(), first);
    EXPECT_EQ((std::vector<std::string>{"Uninstall", "System", "Service", "RegKey", "SS_INSTALL"}),
              std::vector<std::string>(first, first + 5));
}

TEST(ScriptedFlow, DoDialogMatchesPageNamesAndWritesLaunchStatesBack)
{
    Flow flow;
    ASSERT_TRUE(flow.Run(Events(
        "var CWndParam p\n"
        "p.SetValue(\"LaunchCount\", 2)\np.SetValue(\"Launch1_Cmd\", \"app.exe\")\np.SetValue(\"Launch1_Param\", \"/x\")\n"
        "p.SetValue(\"Launch1_Prompt\", \"Run it\")\np.SetValue(\"Launch2_Data\", 0)\n"
        "var int a = Uninstall.DoDialog(\"sduninstallprocess\")\n"
        "var int b = Uninstall.DoDialog(\"SdUninstallProcess\")\n"
        "var int c\nc = Uninstall.dodialog(\"SDUNINSTALLFINISH\", p)\n"
        "var int d\nd = Uninstall.DoDialog(\"sduninstallreboot\", p)\n"
        "Uninstall.WriteProfileString(\"r\", \"\" + a + \",\" + b + \",\" + c + \",\" + d + \",\" + p.GetValue(\"Launch1_Data\") + \",\" + p.GetValue(\"Launch2_Data\"))\n"
        "var string text = \"p\"\nUninstall.DoDialog(\"SdUninstallFinish\", text)",
        "", "")));
    EXPECT_EQ((std::vector<std::string>{"progress", "finish [app.exe|/x|Run it|1] [|||0]", "restart", "write r=0,0,3,3,0,1",
                                        "finish"}),
              flow.log)
        << "the progress page in lower case is not shown; a text is no parameter object";
}

TEST(ScriptedFlow, UninstallFunctionsReadTheirArgumentsAsTexts)
{
    Flow flow;
    ASSERT_TRUE(flow.Run(Events(
        "var CWndParam w\nw.SetValue(\"Prompt\", \"Please wait\")\n"
        "Uninstall.SHOWSWAITINGDLG(w)\nUninstall.ShowWaitingDlg()\nUninstall.closeswaitingdlg()\nUninstall.CloseWaitingDlg()\n"
        "var string key = \"Count\"\nUninstall.WriteProfileInt(key, \"07\")\n"
        "Uninstall.WriteProfileString(\"all\", Uninstall.GetProfileString(key, \"none\") + \",\" + Uninstall.GetProfileInt(key, \"41\")"
        " + \",\" + Uninstall.GetCurAppId() + \",\" + Uninstall.GetFileName(Uninstall.GetModuleFile()))\n"
        "Uninstall.uninstall()",
        "", "")));
    EXPECT_EQ((std::vector<std::string>{"open box Please wait", "open page ", "close box", "close page", "write Count=07",
                                        "write all=Count:none,42,{GUID},UnInstall.exe", "default flow"}),
              flow.log);
    EXPECT_TRUE(IsUninstallFunction("getcurappid"));
    EXPECT_FALSE(IsUninstallFunction("getprofilestring"));
}
