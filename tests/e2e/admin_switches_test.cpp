// The administrator's switches, run as a command prompt would run them: the preview changes
// nothing and names what the silent uninstall then does; a silent uninstall shows no window,
// logs every item and tells its outcome in Windows Installer's exit codes.

#include "app/flows/scrambled_text.h"
#include "tests/support/sample_installation.h"
#include "tests/support/scratch_key.h"
#include "tests/support/temp_folder_override.h"
#include "tests/support/window_driver.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

// The width of a log line's time, "2026-12-09 10:15:03.120  ", and of its outcome and kind
// columns.
constexpr std::size_t kTimeWidth = 25;
constexpr std::size_t kOutcomeWidth = 13;
constexpr std::size_t kKindWidth = 17;

std::string Trimmed(const std::string& text)
{
    const auto end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

// The item lines of a log as "outcome|kind|name", with a preview's "would remove" and "would
// keep" read as what the run then says, so that a preview and a run compare line by line.
std::vector<std::string> ItemLines(const std::string& log)
{
    std::vector<std::string> items;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() < kTimeWidth + kOutcomeWidth + kKindWidth)
            continue;
        std::string outcome = Trimmed(line.substr(kTimeWidth, kOutcomeWidth));
        if (outcome == "would remove")
            outcome = "removed";
        else if (outcome == "would keep")
            outcome = "kept";
        if (outcome != "removed" && outcome != "kept" && outcome != "not there" && outcome != "failed")
            continue;
        const std::string kind = Trimmed(line.substr(kTimeWidth + kOutcomeWidth, kKindWidth));
        std::string name = line.substr(kTimeWidth + kOutcomeWidth + kKindWidth);
        name = name.substr(0, name.find("  ("));
        items.push_back(outcome + "|" + kind + "|" + name);
    }
    return items;
}

// Runs the uninstaller with the arguments to its end, watching that it never shows a window.
// The exit code, or -1 when it did not end in time.
long RunWithoutWindows(const std::string& uninstaller, const std::string& arguments, bool& showedWindow)
{
    ProgramUnderTest program;
    if (!program.Start(uninstaller, arguments))
        return -1;
    showedWindow = false;
    const ULONGLONG deadline = GetTickCount64() + kWindowWaitMs;
    while (!program.WaitForExit(20)) {
        showedWindow = showedWindow || FindAnyWindowOf(program.ProcessId()) != nullptr;
        if (GetTickCount64() > deadline)
            return -1;
    }
    return static_cast<long>(program.ExitCode());
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}

TEST(AdminSwitches, PreviewNamesWhatTheSilentUninstallThenRemovesAndKeeps)
{
    SampleInstallation installation("admin");
    installation.AddFile("App.exe");
    installation.AddFile("settings.ini").SetIntField("Uninstall", 1);
    installation.AddFile("gone.dll");
    installation.AddFolder("Data");
    installation.AddFile("Data\\cache.dat");
    installation.AddFolder("Docs");
    installation.AddFile("Docs\\guide.txt");
    ASSERT_TRUE(WriteFileText(installation.InProgram("Docs\\my-notes.txt"), "the user's"));
    ASSERT_TRUE(DeleteFileA(installation.InProgram("gone.dll").c_str()));
    ScratchKey key(HKEY_CURRENT_USER, "admin");
    ASSERT_TRUE(key.IsReady() && PutValue(HKEY_CURRENT_USER, key.Join("App"), "Path", REG_SZ, "C:\\App"));
    for (const char* name : {"App", "Missing"})
        AddRegistryItem(installation.Record(), "Key", "HKEY_CURRENT_USER", key.Path(), name);
    ASSERT_TRUE(installation.AddUninstallEntry());
    ASSERT_TRUE(installation.SaveRecord());
    const std::string previewLog = installation.InProgram("preview.log");
    const std::string silentLog = installation.InProgram("silent.log");

    bool showedWindow = true;
    EXPECT_EQ(0, RunWithoutWindows(installation.UninstallerPath(), "/preview " + Quoted("/LOG=" + previewLog), showedWindow));
    EXPECT_FALSE(showedWindow);
    EXPECT_TRUE(PathExists(installation.InProgram("App.exe"))) << "the preview removed a file";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key.Join("App"))) << "the preview removed a key";
    EXPECT_TRUE(installation.UninstallEntryExists());

    EXPECT_EQ(0, RunWithoutWindows(installation.UninstallerPath(), "-S " + Quoted("-log=" + silentLog), showedWindow));
    EXPECT_FALSE(showedWindow);
    EXPECT_TRUE(WaitForPathGone(installation.UninstallerPath())) << "the cleanup copy deletes the uninstall folder";

    const std::vector<std::string> previewed = ItemLines(ReadFileText(previewLog));
    const std::vector<std::string> done = ItemLines(ReadFileText(silentLog));
    EXPECT_EQ(previewed, done);
    // The log names every item of the record, and the machine agrees with it.
    const std::string program = installation.ProgramFolder();
    for (const std::string& item :
         {"removed|file|" + program + "\\App.exe", "kept|file|" + program + "\\settings.ini",
          "not there|file|" + program + "\\gone.dll", "removed|file|" + program + "\\Data\\cache.dat",
          "removed|folder|" + program + "\\Data", "removed|file|" + program + "\\Docs\\guide.txt",
          "kept|folder|" + program + "\\Docs", "removed|registry item|Key,HKEY_CURRENT_USER," + key.Path() + ",App",
          "not there|registry item|Key,HKEY_CURRENT_USER," + key.Path() + ",Missing",
          "removed|uninstall entry|" + installation.Guid(), "removed|uninstall folder|" + installation.AppFolder()}) {
        EXPECT_NE(done.end(), std::find(done.begin(), done.end(), item)) << item;
    }
    EXPECT_FALSE(PathExists(installation.InProgram("App.exe")));
    EXPECT_TRUE(PathExists(installation.InProgram("settings.ini")));
    EXPECT_TRUE(PathExists(installation.InProgram("Docs\\my-notes.txt")));
    EXPECT_FALSE(PathExists(installation.InProgram("Data")));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key.Join("App")));
    EXPECT_FALSE(installation.UninstallEntryExists());
}

TEST(AdminSwitches, SilentScriptThatCancelsExitsWith1602AndAnswersItsBoxes)
{
    SampleInstallation installation("admincancel");
    installation.AddFile("program.dat");
    const std::string vbsCode = "Function Ask()\r\n  Ask = \"asked \" & MsgBox(\"Sure?\", 4)\r\nEnd Function\r\n";
    ASSERT_TRUE(WriteFileText(installation.InApp("jt.dll"), Scramble(vbsCode)));
    ASSERT_TRUE(installation.AddScript("Section OnUninstallBegin\n{\n"
                                       "Uninstall.WriteProfileString(\"Answer\", MessageBox(\"Remove everything?\", \"Question\", 4))\n"
                                       "Uninstall.WriteProfileString(\"Vbs\", CallVBSFunction(\"Ask\"))\n"
                                       "Uninstall.CancelUninstall()\n}\n"));
    ASSERT_TRUE(installation.SaveRecord());
    const std::string log = installation.InProgram("cancel.log");

    bool showedWindow = true;
    EXPECT_EQ(1602, RunWithoutWindows(installation.UninstallerPath(), "/s /log=" + Quoted(log), showedWindow));
    EXPECT_FALSE(showedWindow);
    Sleep(1000); // a wrongly started cleanup copy would have deleted the folder by now
    EXPECT_TRUE(PathExists(installation.InProgram("program.dat")));
    EXPECT_TRUE(PathExists(installation.UninstallerPath()));
    EXPECT_EQ("6", installation.ProfileValue("Answer")) << "a Yes/No box answers with its default button, Yes";
    EXPECT_EQ("asked 0", installation.ProfileValue("Vbs")) << "VBScript's own box is not shown either";
    const std::string logText = ReadFileText(log);
    EXPECT_NE(std::string::npos, logText.find("message box \"Question\": Remove everything?  (answered 6)")) << logText;
}

TEST(AdminSwitches, SilentRunWhoseScriptAsksForARestartExitsWith3010AndDoesNotRestart)
{
    SampleInstallation installation("adminrestart");
    installation.AddFile("program.dat");
    ASSERT_TRUE(installation.AddScript("Section OnUninstallBegin\n{\n}\n"
                                       "Section OnUninstallProcess\n{\n"
                                       "Uninstall.DoDialog(\"SdUninstallProcess\")\n}\n"
                                       "Section OnUninstallEnd\n{\n"
                                       "var int finish = Uninstall.DoDialog(\"SdUninstallFinish\")\n"
                                       "var int restart = Uninstall.DoDialog(\"SdUninstallReboot\")\n"
                                       "MessageBox(\"\" + finish + \",\" + restart + \",\" + Uninstall.DoDialog(\"NoSuchPage\"), \"Pages\")\n}\n"));
    ASSERT_TRUE(installation.SaveRecord());

    bool showedWindow = true;
    EXPECT_EQ(3010, RunWithoutWindows(installation.UninstallerPath(), "/S /LOG=" + Quoted(installation.InProgram("restart.log")),
                                      showedWindow));
    EXPECT_FALSE(showedWindow);
    // The pages answer as their default buttons do, as the real pages and the runner answer.
    const std::string logText = ReadFileText(installation.InProgram("restart.log"));
    EXPECT_NE(std::string::npos, logText.find("message box \"Pages\": 3,5,0")) << logText;
    EXPECT_FALSE(PathExists(installation.InProgram("program.dat")));
    // The cleanup copy still deletes the uninstall folder, and the process ended instead of
    // taking Windows down with it.
    EXPECT_TRUE(WaitForPathGone(installation.UninstallerPath()));
}

TEST(AdminSwitches, CleanupCopyThatCannotStartIsLoggedAsAFailureAndExitsWith1603)
{
    SampleInstallation installation("admincopyfails");
    installation.AddFile("App.exe");
    ASSERT_TRUE(installation.SaveRecord());
    const std::string log = installation.InProgram("silent.log");
    bool showedWindow = true;
    {
        // No work folder can be made in a temp folder whose path is too long.
        TempFolderOverride temp(installation.ProgramFolder() + "\\" + std::string(MAX_PATH, 'x'));
        EXPECT_EQ(1603, RunWithoutWindows(installation.UninstallerPath(), "/S " + Quoted("/LOG=" + log), showedWindow));
    }
    const std::vector<std::string> items = ItemLines(ReadFileText(log));
    EXPECT_NE(items.end(), std::find(items.begin(), items.end(), "failed|uninstall folder|" + installation.AppFolder()));
    EXPECT_TRUE(PathExists(installation.UninstallerPath()));
}

TEST(AdminSwitches, SilentStartWithoutARecordExitsWith1603AndHelpListsTheSwitches)
{
    SampleInstallation installation("adminnorecord");
    bool showedWindow = true;
    const std::string log = installation.InProgram("missing.log");
    EXPECT_EQ(1603, RunWithoutWindows(installation.UninstallerPath(), "/S /UNKNOWN /LOG=" + Quoted(log), showedWindow));
    EXPECT_FALSE(showedWindow) << "a silent uninstall shows not even the missing-record box";
    EXPECT_NE(std::string::npos, ReadFileText(log).find("no install record at " + installation.InApp("Setup.Kvx")));

    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath(), "/?"));
    HWND help = WaitForWindow("UnInstall", "#32770", program.ProcessId());
    ASSERT_NE(nullptr, help);
    const std::string text = MessageBoxText(help);
    for (const char* word : {"/PREVIEW", "/S", "/LOG=", "3010", "1602", "1603"})
        EXPECT_NE(std::string::npos, text.find(word)) << word;
    PressButton(help, IDOK);
    EXPECT_TRUE(program.WaitForExit());
}

namespace {

// Runs a preview started without the test's console, as from Explorer, to the end; the text
// of the box it shows.
std::string PreviewFromExplorer(const std::string& uninstaller)
{
    ProgramUnderTest program;
    if (!program.Start(uninstaller, "/PREVIEW", DETACHED_PROCESS))
        return "not started";
    HWND box = WaitForWindow("UnInstall", "#32770", program.ProcessId());
    const std::string text = box ? MessageBoxText(box) : "no box";
    if (box)
        PressButton(box, IDOK);
    return program.WaitForExit() && program.ExitCode() == 0 ? text : "failed: " + text;
}

}

TEST(AdminSwitches, PreviewWithoutAPromptReportsInTheTempFolderAndFollowsNoLinkThere)
{
    SampleInstallation installation("adminlink");
    installation.AddFile("App.exe");
    ASSERT_TRUE(installation.SaveRecord());
    char temp[MAX_PATH + 1] = {};
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
    const std::string log = std::string(temp) + "Sample App uninstall preview.log";
    const std::string target = installation.InProgram("App.exe");
    DeleteFileA(log.c_str());
    ASSERT_TRUE(CreateHardLinkA(log.c_str(), target.c_str(), nullptr));
    // The shipped program reads no settings from the environment, whoever set them.
    const std::string stepTimes = installation.InProgram("steps.txt");
    SetEnvironmentVariableA("UNINSTALL_STEP_TIMES", stepTimes.c_str());

    EXPECT_EQ("The preview of the uninstall could not be written to " + log + ".",
              PreviewFromExplorer(installation.UninstallerPath()));
    EXPECT_EQ("installed", ReadFileText(target)) << "the log was written through a hard link";
    ASSERT_TRUE(DeleteFileA(log.c_str()));

    EXPECT_EQ("The preview of the uninstall is in " + log + ".", PreviewFromExplorer(installation.UninstallerPath()));
    EXPECT_NE(std::string::npos, ReadFileText(log).find("would remove")) << ReadFileText(log);
    SetEnvironmentVariableA("UNINSTALL_STEP_TIMES", nullptr);
    EXPECT_FALSE(PathExists(stepTimes));
    EXPECT_FALSE(PathExists(installation.InApp("UnInstall.log"))) << "the preview changed the installation";
    DeleteFileA(log.c_str());
}
