#include "script_test_support.h"

#include "app/flows/scrambled_text.h"
#include "app/voscript/script_check.h"
#include "app/voscript/script_trace.h"
#include "app/voscript/voscript_runner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

// voscript --check reads a script as the uninstaller loads it and finds what would fail or
// do nothing in a real uninstall; --trace shows how a run went.

namespace {

std::string Findings(const std::string& script) { return FormatFindings("s.vos", CheckScript(script)); }

std::string Events(const std::string& body)
{
    return "Section OnUninstallBegin\n{\n" + body + "\nUninstall.DoDialog(\"SdUninstallProcess\")\n}\n";
}

// A file of the source tree; the Windows build's tests reach it through Wine's drive Z:.
std::string SourceFile(const std::string& relative)
{
#ifdef _WIN32
    std::ifstream file("Z:" UNINSTALL_SOURCE_DIR "/" + relative, std::ios::binary);
#else
    std::ifstream file(UNINSTALL_SOURCE_DIR "/" + relative, std::ios::binary);
#endif
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Fault {
    const char* script; // lines with "\n"; made CR LF unless it is about line ends
    bool crlf;
    const char* finding;
};

}

TEST(VoScriptCheck, EachFaultIsReportedAtItsLine)
{
    const Fault faults[] = {
        {"Section OnUninstallBegin\n{\nUninstall.UnInstall()\n}\nFunction int g(int a,,b)\n{\n}\n", true,
         "s.vos:5: error: this Section or Function header cannot be read"},
        {"Section OnUninstallBegin\n{\nUninstall.DoDialog(\"SdUninstallProcess\")\nUninstall.getmodulefile()\n}\n", true,
         "s.vos:4: error: Uninstall.getmodulefile is matched in exact case only: write Uninstall.GetModuleFile"},
        {"Section OnUninstallBegin\n{\nif 0\n  System.existfile(\"a\")\nUninstall.UnInstall()\n}\n", true,
         "s.vos:4: error: System.existfile is matched in exact case only: write System.ExistFile"},
        {"Section OnUninstallBegin\n{\nUninstall.DoDialog(\"SdUninstallprocess\")\nUninstall.UnInstall()\n}\n", true,
         "s.vos:3: error: the page \"SdUninstallprocess\" is named in exact case only: write \"SdUninstallProcess\""},
        {"Section OnUninstallBegin\n{\nUninstall.UnInstall()\nvar int n = Uninstall.Remove()\n}\n", true,
         "s.vos:4: error: Uninstall has no method Remove: Uninstall.Remove fails with error 8"},
        {"Section OnUninstallBegin\n{\nUninstall.UnInstall()\nCleanUp(1, \"two\")\n}\n", true,
         "s.vos:4: error: no function CleanUp (called with 2 arguments)"},
        {"Section OnUninstallBegin\n{\nUninstall.UnInstall()\nGoto finished\n}\n", true,
         "s.vos:4: error: no label finished in OnUninstallBegin"},
        {"Section OnUninstallBegin\n{\nUninstall.UnInstall()\nvar string f = Uninstall.GetProfileString(\"Count\", \"none\")\n}\n",
         true, "s.vos:4: error: a var line is cut at every comma, also at one inside parentheses or quotes"},
        {"Section OnUninstallBegin\n{\nUninstall.UnInstall()\ndo\n  MessageBox(\"again\")\n}\n", true,
         "s.vos:4: error: this do does not form a block"},
        {"Section OnUninstallBegin\n{\nUninstall.UnInstall()\ncount = 1\n}\n", true,
         "s.vos:4: error: count is not declared: the assignment fails with error 13"},
        {"Section OnUninstallBegin\n{\nUninstall.UnInstall()\nMessageBox(total)\n}\n", true,
         "s.vos:4: error: total is not declared"},
        {"Section OnUninstallBegin\n{\nUninstall.UnInstall()\n}\nSection OnUninstallProces\n{\n}\n", true,
         "s.vos:5: warning: OnUninstallProces is not an event, and the uninstaller never calls it; did you mean "
         "OnUninstallProcess?"},
        {"Section OnUninstallEnd\n{\n}\n", true, "s.vos:1: warning: no OnUninstallBegin: the uninstaller calls no event"},
        {"Section OnUninstallBegin\n{\nUninstall.WriteProfileString(\"a\", \"b\")\n}\n", true,
         "s.vos:1: warning: no event shows the progress page"},
        {"#include \"code.vbs\" VbScript\nSection OnUninstallBegin\n{\nUninstall.UnInstall()\n}\n", true,
         "s.vos:1: warning: the uninstaller ignores #include: it takes its VBScript code from jt.dll"},
        {"Section OnUninstallBegin\n{\nUninstall.UnInstall()\n}\n", false,
         "s.vos:1: error: line feeds without carriage returns"},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.script);
        const std::string output = Findings(fault.crlf ? Crlf(fault.script) : fault.script);
        EXPECT_NE(std::string::npos, output.find(fault.finding)) << output;
        EXPECT_EQ(1, std::count(output.begin(), output.end(), '\n')) << "one finding only:\n" << output;
    }
}

TEST(VoScriptCheck, CleanScriptsGiveNoFinding)
{
    EXPECT_EQ("", Findings(Crlf(Events("var CRegKey key\nvar string s = key.GetRegStrValue(\"HKEY_CURRENT_USER\")\n"
                                       "s.Left(2)\nvar double d = int(1.5)\nDataCmpGoto(s, \"x\", \"done\")\ndone:"))));
    EXPECT_EQ("", Findings(Crlf("Section NotAnUninstallScript\n{\n}\n")));
    const std::string sample = SourceFile("docs/sample-uninstall.vos");
    ASSERT_NE("", sample);
    EXPECT_EQ("", Findings(sample)) << "the sample of the script authors' guide";
    const std::string objects = SourceFile("tests/fixtures/system_objects.vos");
    ASSERT_NE("", objects);
    EXPECT_EQ("", Findings(objects));
}

TEST(VoScriptCheck, TheGuidesSampleWalksThroughEveryEvent)
{
    std::string output;
    EXPECT_EQ(0, RunVoScriptEvents(SourceFile("docs/sample-uninstall.vos"), output)) << output;
    EXPECT_NE(std::string::npos, output.find("Uninstall.DoDialog(\"SdUninstallProcess\")")) << output;
    EXPECT_NE(std::string::npos, output.find("event: OnUninstallEnd")) << output;
}

TEST(VoScriptTrace, EachStatementItsStoredValueAndEachHostCall)
{
    std::string trace;
    ScriptTrace observer(trace);
    RunnerPlatform platform;
    platform.observer = &observer;
    std::string output;
    ASSERT_EQ(0, RunVoScript(Crlf("Function int Main(string who)\n{\nvar int n = 2\nn += 3\n"
                                  "MessageBox(\"hi \" + who, \"Greeting\")\nreturn n\n}\n"),
                             "Main", {"Ann"}, output, platform))
        << output;
    EXPECT_EQ("3: var int n = 2\n  n = 2\n4: n += 3\n  n = 5\n"
              "5: MessageBox(\"hi \" + who, \"Greeting\")\n  MessageBox(\"hi Ann\", \"Greeting\") = 1\n"
              "6: return n\n",
              trace);
}

TEST(VoScriptScramble, ScrambledScriptReadsBackAsWritten)
{
    const std::string script = Crlf(Events("var string s = \"[bracket]\""));
    std::string readBack;
    AppendUnscrambled(Scramble(script), readBack);
    EXPECT_EQ(script, readBack);
}
