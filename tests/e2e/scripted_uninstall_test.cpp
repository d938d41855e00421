// Uninstalls conducted by a scrambled VoScript uninstall script, driven through their windows:
// which events run, what a failing event shows and leaves behind, and what the pages take from
// and give back to the script.

#include "app/flows/scrambled_text.h"
#include "tests/support/fixtures.h"
#include "tests/support/sample_installation.h"
#include "tests/support/scratch.h"
#include "tests/support/scratch_key.h"
#include "tests/support/window_driver.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kDialogClass = "#32770";
constexpr int kFirstLaunch = 2064;
// Long enough that a wrongly started cleanup copy would have deleted the folder.
constexpr DWORD kCleanupGraceMs = 1500;

void AddScript(SampleInstallation& installation, const std::string& lines)
{
    ASSERT_TRUE(installation.AddScript(lines));
}

std::string ProfileValue(SampleInstallation& installation, const char* key) { return installation.ProfileValue(key); }

// Starts the uninstaller and answers Yes.
void StartAndConfirm(ProgramUnderTest& program, SampleInstallation& installation)
{
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    HWND question = WaitForWindow("Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, question);
    ASSERT_TRUE(PressButton(question, IDYES));
}

// The text of the message box with this caption, which is then closed with OK.
std::string AnswerMessageBox(ProgramUnderTest& program, const std::string& caption)
{
    HWND box = WaitForWindow(caption, kDialogClass, program.ProcessId());
    if (!box)
        return "<no box captioned " + caption + ">";
    const std::string text = MessageBoxText(box);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitForWindowGone(box)) << "the box captioned " << caption << " stays open";
    return text;
}

}

TEST(ScriptedUninstall, CancelInOnUninstallBeginSkipsTheRemovalAndKeepsTheUninstaller)
{
    SampleInstallation installation("scriptcancel");
    installation.AddFile("program.dat");
    ASSERT_TRUE(installation.AddUninstallEntry());
    AddScript(installation,
              "Section OnUninstallBegin\n{\n"
              "Uninstall.WriteProfileString(\"Begin\", \"ran\")\n"
              "Uninstall.CancelUninstall()\n}\n"
              "Section OnUninstallProcess\n{\n"
              "Uninstall.WriteProfileString(\"Process\", \"ran\")\n"
              "Uninstall.DoDialog(\"SdUninstallProcess\")\n}\n"
              "Section OnUninstallEnd\n{\n"
              "Uninstall.WriteProfileString(\"End\", Uninstall.GetProfileString(\"NoSuchKey\", \"the default\"))\n"
              "Uninstall.WriteProfileInt(\"Count\", \"07\")\n}\n");
    ASSERT_TRUE(installation.SaveRecord());

    ProgramUnderTest program;
    StartAndConfirm(program, installation);
    ASSERT_TRUE(program.WaitForExit()) << "no page is shown after a cancel";
    Sleep(kCleanupGraceMs);

    EXPECT_EQ("ran", ProfileValue(installation, "Begin"));
    EXPECT_EQ("<missing>", ProfileValue(installation, "Process")) << "OnUninstallProcess is skipped";
    EXPECT_EQ("the default", ProfileValue(installation, "End")) << "OnUninstallEnd still runs";
    EXPECT_EQ("07", ProfileValue(installation, "Count")) << "the value's text is written as it is";
    EXPECT_TRUE(PathExists(installation.InProgram("program.dat")));
    EXPECT_TRUE(installation.UninstallEntryExists());
    EXPECT_TRUE(PathExists(installation.UninstallerPath())) << "no cleanup copy after a cancel";
}

TEST(ScriptedUninstall, EventThatFailsBeforeAnyRemovalIsReportedAndKeepsTheUninstaller)
{
    SampleInstallation installation("scriptfails");
    installation.AddFile("program.dat");
    ASSERT_TRUE(installation.AddUninstallEntry());
    AddScript(installation,
              "Section OnUninstallBegin\n{\n"
              "var int kept = 1\n"
              "undeclared = kept\n}\n"
              "Section OnUninstallEnd\n{\n"
              "Uninstall.WriteProfileString(\"End\", \"ran\")\n}\n");
    ASSERT_TRUE(installation.SaveRecord());

    ProgramUnderTest program;
    StartAndConfirm(program, installation);
    EXPECT_EQ("ErrorCode:13 , ErrorLine=4 , ErrorWord=undeclared", AnswerMessageBox(program, "error"));
    ASSERT_TRUE(program.WaitForExit());
    Sleep(kCleanupGraceMs);

    EXPECT_EQ("<missing>", ProfileValue(installation, "End")) << "the first failing event ends the flow";
    EXPECT_TRUE(PathExists(installation.InProgram("program.dat")));
    EXPECT_TRUE(installation.UninstallEntryExists());
    EXPECT_TRUE(PathExists(installation.UninstallerPath())) << "the user can run the uninstall again";
    EXPECT_TRUE(PathExists(installation.InApp("Setup.Kvx")));
}

// The finish page is opened from the deepest script call the engine allows, where the native
// stack is used most; the page must still find room on the main thread's stack.
TEST(ScriptedUninstall, PagesFollowTheScriptAndGiveTheLaunchChoiceBack)
{
    SampleInstallation installation("scriptpages");
    installation.AddFile("program.dat");
    ASSERT_TRUE(installation.AddUninstallEntry());
    AddScript(installation,
              "Function int Deep(int n)\n{\n"
              "if n > 0\n  return Deep(n - 1)\n"
              "var CWndParam p\n"
              "p.SetValue(\"LaunchCount\", 1)\n"
              "p.SetValue(\"Launch1_Prompt\", \"Open the readme\")\n"
              "var int result\n"
              "result = Uninstall.DoDialog(\"sduninstallfinish\", p)\n"
              "MessageBox(\"\" + result + \",\" + p.GetValue(\"Launch1_Data\"), \"written back\")\n"
              "return 0\n}\n"
              "Section OnUninstallBegin\n{\n"
              "MessageBox(Uninstall.DoDialog(\"sduninstallprocess\"), \"lower case\")\n}\n"
              "Section OnUninstallProcess\n{\n"
              "Uninstall.DoDialog(\"SdUninstallProcess\")\n}\n"
              "Section OnUninstallEnd\n{\n"
              "Deep(998)\n"
              "missing = 1\n}\n");
    ASSERT_TRUE(installation.SaveRecord());

    ProgramUnderTest program;
    StartAndConfirm(program, installation);
    EXPECT_EQ("0", AnswerMessageBox(program, "lower case")) << "the progress page is named exactly";
    EXPECT_TRUE(PathExists(installation.InProgram("program.dat")));

    HWND finish = WaitForWindow("Uninstall Sample App", kDialogClass, program.ProcessId(), 60000);
    if (!finish) {
        HWND other = FindAnyWindowOf(program.ProcessId());
        FAIL() << "no finish page; shown instead: " << (other ? WindowText(other) + ": " + MessageBoxText(other) : "nothing");
    }
    EXPECT_FALSE(PathExists(installation.InProgram("program.dat"))) << "the progress page removed the application";
    EXPECT_TRUE(IsDialogItemVisible(finish, kFirstLaunch)) << "one launch entry is shown";
    EXPECT_EQ("Open the readme", DialogItemText(finish, kFirstLaunch));
    EXPECT_TRUE(IsDialogItemChecked(finish, kFirstLaunch)) << "an entry without data starts checked";
    ASSERT_TRUE(SetCheck(finish, kFirstLaunch, false));
    ASSERT_TRUE(PressButton(finish, IDOK));
    EXPECT_EQ("3,0", AnswerMessageBox(program, "written back"));

    // An event that fails after the removal ran: the report, then the cleanup as usual.
    EXPECT_EQ("ErrorCode:13 , ErrorLine=24 , ErrorWord=missing", AnswerMessageBox(program, "error"));
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_FALSE(installation.UninstallEntryExists());
    EXPECT_TRUE(WaitForPathGone(installation.AppFolder())) << "after a removal the cleanup copy runs as usual";
}

// An uninstall script reaches the function library, VBScript and every system object. Paths
// reach the script through ProFile.ini, and what the calls gave back leaves it the same way.
TEST(ScriptedUninstall, ScriptUsesTheLibraryVbscriptAndEachSystemObject)
{
    SampleInstallation installation("scriptobjects");
    ASSERT_TRUE(installation.AddUninstallEntry());
    ScratchKey key(HKEY_CURRENT_USER, "scriptobjects");
    ASSERT_TRUE(key.IsReady());
    const std::string library = installation.InApp("exports.dll");
    ASSERT_TRUE(CopyFixture("fixture_exports.dll", library));
    const std::string serviceBinary = installation.InApp("Service.exe");
    ASSERT_TRUE(CopyFixture("fixture_service.exe", serviceBinary));
    ScratchService service("scriptobjects", serviceBinary);
    ASSERT_TRUE(service.IsReady());
    const std::string vbsCode = "Function JoinWords(first, second)\r\n  JoinWords = first & \"+\" & second\r\nEnd Function\r\n";
    ASSERT_TRUE(WriteFileText(installation.InApp("jt.dll"), Scramble(vbsCode)));
    ASSERT_TRUE(WriteFileText(installation.InApp("module.vbs"), vbsCode));
    const std::string profile = installation.InApp("ProFile.ini");
    WritePrivateProfileStringA("ProFileData", "Library", library.c_str(), profile.c_str());
    WritePrivateProfileStringA("ProFileData", "Module", installation.InApp("module.vbs").c_str(), profile.c_str());
    WritePrivateProfileStringA("ProFileData", "KeyPath", key.Path().c_str(), profile.c_str());
    WritePrivateProfileStringA("ProFileData", "Service", service.Name().c_str(), profile.c_str());
    WritePrivateProfileStringA("ProFileData", "TextPath", installation.InApp("note.txt").c_str(), profile.c_str());
    AddScript(installation,
              "Section OnUninstallBegin\n{\n"
              "var string text\n"
              "text = Uninstall.GetProfileString(\"TextPath\", \"\")\n"
              "System.WriteTextFile(text, \"from the script\")\n"
              "Uninstall.WriteProfileString(\"ReadBack\", System.ReadTextFile(text))\n"
              "var string scrambled\n"
              "scrambled = System.EnVOEStr(\"secret\", \"keyword8\")\n"
              "Uninstall.WriteProfileString(\"Unscrambled\", System.DeVOEStr(scrambled, \"keyword8\"))\n"
              "Uninstall.WriteProfileString(\"Vbs\", CallVBSFunction(\"JoinWords\", \"vb\", 2))\n"
              "var string keyPath\n"
              "keyPath = Uninstall.GetProfileString(\"KeyPath\", \"\")\n"
              "RegKey.SetRegStrValue(\"HKEY_CURRENT_USER\", keyPath, \"Greeting\", \"hello\")\n"
              "var IVosObject key\n"
              "key = CreateVosObject(\"CRegKey\")\n"
              "var string stored\n"
              "stored = key.GetRegStrValue(\"HKEY_CURRENT_USER\", keyPath, \"Greeting\", \"missing\")\n"
              "var CDllModule module\n"
              "module.LoadLibrary(Uninstall.GetProfileString(\"Library\", \"\"))\n"
              "module.AddProcDefine(\"int UpperCaseText(out mstring text)\")\n"
              "var string shout\n"
              "shout = stored\n"
              "module.CallProc(\"UpperCaseText\", shout)\n"
              "var CWSModule vbs\n"
              "vbs.LoadFile(Uninstall.GetProfileString(\"Module\", \"\"))\n"
              "Uninstall.WriteProfileString(\"Joined\", vbs.CallMethod(\"JoinWords\", shout, Service.ServiceIsRun(Uninstall.GetProfileString(\"Service\", \"\"))))\n"
              "Uninstall.CancelUninstall()\n}\n");
    ASSERT_TRUE(installation.SaveRecord());

    ProgramUnderTest program;
    StartAndConfirm(program, installation);
    ASSERT_TRUE(program.WaitForExit()) << "the script cancels after its calls, so no page follows";

    EXPECT_EQ("from the script", ProfileValue(installation, "ReadBack"));
    EXPECT_EQ("secret", ProfileValue(installation, "Unscrambled"));
    EXPECT_EQ("vb+2", ProfileValue(installation, "Vbs")) << "jt.dll's code answers CallVBSFunction";
    EXPECT_EQ("HELLO+1", ProfileValue(installation, "Joined")) << "registry, library call, module, and the service that exists";
}

// An author's plain script, scrambled by voscript.exe --scramble, is the hw.dll the uninstaller
// conducts its uninstall with; --unscramble gives the plain text back. The "]" of the script
// scrambles to a zero byte, which the reading keeps.
TEST(ScriptedUninstall, ScriptScrambledByVoscriptConductsTheUninstall)
{
    SampleInstallation installation("scriptscrambled");
    installation.AddFile("program.dat");
    ASSERT_TRUE(installation.AddUninstallEntry());
    AddScript(installation, "Section OnUninstallBegin\n{\n}\n"); // selects the script; replaced below
    ASSERT_TRUE(installation.SaveRecord());
    const std::string plain = "Section OnUninstallBegin\r\n{\r\n"
                              "Uninstall.WriteProfileString(\"Begin\", \"[scrambled]\")\r\n"
                              "Uninstall.DoDialog(\"SdUninstallProcess\")\r\n"
                              "Uninstall.CancelUninstall()\r\n}\r\n";
    ASSERT_TRUE(WriteFileText(installation.InApp("uninstall.vos"), plain));
    const std::string voscript = FixturePath("voscript.exe");
    ProgramUnderTest scramble;
    ASSERT_TRUE(scramble.Start(voscript, "--scramble \"" + installation.InApp("uninstall.vos") + "\" \""
                                             + installation.InApp("hw.dll") + "\""));
    ASSERT_TRUE(scramble.WaitForExit());
    EXPECT_EQ(0u, scramble.ExitCode());
    ProgramUnderTest unscramble;
    ASSERT_TRUE(unscramble.Start(voscript, "--unscramble \"" + installation.InApp("hw.dll") + "\" \""
                                               + installation.InApp("back.vos") + "\""));
    ASSERT_TRUE(unscramble.WaitForExit());
    EXPECT_EQ(plain, ReadFileText(installation.InApp("back.vos")));

    ProgramUnderTest program;
    StartAndConfirm(program, installation);
    ASSERT_TRUE(program.WaitForExit(60000)) << "the progress page closes itself, and the script cancels after it";

    EXPECT_EQ("[scrambled]", ProfileValue(installation, "Begin"));
    EXPECT_FALSE(PathExists(installation.InProgram("program.dat"))) << "the script's progress page removed it";
}
