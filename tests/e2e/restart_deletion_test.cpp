// What a program the uninstall does not end still holds goes at the next restart: the run
// schedules it and exactly it, says so in its exit code and its log, and offers the restart.
// One uninstall of an installation runs at a time, and one that was ended halfway can be run
// again to its end.

#include "app/pages/resource.h"
#include "base/path_text.h"
#include "sysops/work_folder.h"
#include "tests/support/pending_deletions.h"
#include "tests/support/sample_installation.h"
#include "tests/support/window_driver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr const char* kDialogClass = "#32770";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Runs the uninstaller with the arguments to its end; its exit code, or -1 when it did not end.
long RunToTheEnd(const std::string& uninstaller, const std::string& arguments)
{
    ProgramUnderTest program;
    if (!program.Start(uninstaller, arguments) || !program.WaitForExit())
        return -1;
    return static_cast<long>(program.ExitCode());
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The last line of a log, without its time.
std::string LastLine(const std::string& log)
{
    const std::size_t end = log.find_last_not_of("\r\n");
    const std::size_t start = log.rfind('\n', end);
    const std::string line = log.substr(start == std::string::npos ? 0 : start + 1, end - start);
    return line.size() > 25 ? line.substr(25) : line;
}

// Lays out an application whose shell extension another program holds open.
struct HeldInstallation {
    explicit HeldInstallation(const std::string& label) : installation(label)
    {
        installation.AddFile("App.exe");
        installation.AddFolder("Shell");
        installation.AddFile("Shell\\extension.dll");
        (void)installation.AddUninstallEntry();
    }
    ~HeldInstallation() { ForgetRestartDeletions({Extension(), ShellFolder()}); }

    [[nodiscard]] std::string Extension() const { return installation.InProgram("Shell\\extension.dll"); }
    [[nodiscard]] std::string ShellFolder() const { return installation.InProgram("Shell"); }

    SampleInstallation installation;
};

}

TEST(RestartDeletion, HeldFileAndItsFolderAreScheduledAndTheSilentRunExitsWith3010)
{
    HeldInstallation held("restartheld");
    SampleInstallation& installation = held.installation;
    // The script asks before and after the removal whether something waits for the restart.
    ASSERT_TRUE(installation.AddScript("Section OnUninstallBegin\n{\n}\n"
                                       "Section OnUninstallProcess\n{\n"
                                       "MessageBox(Uninstall.IsRestartNeeded(), \"before\", 0)\n"
                                       "Uninstall.DoDialog(\"SdUninstallProcess\")\n"
                                       "MessageBox(Uninstall.isrestartneeded(), \"after\", 0)\n}\n"));
    ASSERT_TRUE(installation.SaveRecord());
    HeldOpenFile extension(held.Extension());
    ASSERT_TRUE(extension.IsHeld());
    const std::vector<std::string> earlier = PendingRestartDeletions();
    const std::string previewLog = installation.InProgram("preview.log");
    const std::string silentLog = installation.InProgram("silent.log");

    EXPECT_EQ(3010, RunToTheEnd(installation.UninstallerPath(), "/PREVIEW /LOG=" + Quoted(previewLog)));
    const std::string preview = ReadFileText(previewLog);
    EXPECT_TRUE(Contains(preview, "in use now   file             " + held.Extension())) << preview;
    EXPECT_TRUE(ScheduledSince(earlier).empty()) << "the preview schedules nothing";

    EXPECT_EQ(3010, RunToTheEnd(installation.UninstallerPath(), "/S /LOG=" + Quoted(silentLog)));
    EXPECT_TRUE(WaitForPathGone(installation.AppFolder())) << "the cleanup copy deletes the uninstall folder";
    const std::string log = ReadFileText(silentLog);
    EXPECT_TRUE(Contains(log, "at restart   file             " + held.Extension())) << log;
    EXPECT_TRUE(Contains(log, "at restart   folder           " + held.ShellFolder())) << log;
    EXPECT_TRUE(Contains(log, "message box \"before\": 0")) << log;
    EXPECT_TRUE(Contains(log, "message box \"after\": 1")) << log;
    EXPECT_EQ("done, exit code 3010: 2 removed, 0 kept, 2 not there, 0 failed, 2 at restart; "
              "2 items still in use go at the next restart",
              LastLine(log));
    // The file first, then its folder; nothing that the record does not name, beside the
    // cleanup copy's own work folder, which goes with its running image.
    const auto inWorkFolder = [](const std::string& path) {
        for (const std::string& part : {GetFileNamePart(path), GetFileNamePart(GetFolderPart(path))}) {
            if (part.rfind(kWorkFolderPrefix, 0) == 0)
                return true;
        }
        return false;
    };
    std::vector<std::string> recorded;
    for (const std::string& path : ScheduledSince(earlier)) {
        if (inWorkFolder(path))
            ForgetRestartDeletions({path});
        else
            recorded.push_back(path);
    }
    EXPECT_EQ((std::vector<std::string>{held.Extension(), held.ShellFolder()}), recorded);
    EXPECT_FALSE(PathExists(installation.InProgram("App.exe")));
    EXPECT_FALSE(installation.UninstallEntryExists());
}

TEST(RestartDeletion, UninstallFolderNamedAsARecordedFolderIsLeftToTheCleanupCopy)
{
    // Installers commonly record the application folder that also holds the uninstaller: the
    // running uninstaller's folder cannot go during the run, and it is the cleanup copy's to
    // delete, not the restart's.
    SampleInstallation installation("restartownfolder");
    installation.AddFile("App.exe");
    RecordItem own;
    own.SetField("DirName", installation.AppFolder());
    installation.Record().CreateDirs().push_back(own);
    ASSERT_TRUE(installation.SaveRecord());
    const std::vector<std::string> earlier = PendingRestartDeletions();
    const std::string log = installation.InProgram("silent.log");

    EXPECT_EQ(0, RunToTheEnd(installation.UninstallerPath(), "/S /LOG=" + Quoted(log)));
    EXPECT_TRUE(WaitForPathGone(installation.AppFolder())) << "the cleanup copy deletes it";
    const std::vector<std::string> scheduled = ScheduledSince(earlier);
    for (const std::string& path : scheduled)
        EXPECT_NE(0u, path.rfind(installation.AppFolder(), 0)) << path << " was scheduled";
    ForgetRestartDeletions(scheduled);
    EXPECT_TRUE(Contains(ReadFileText(log), "kept         folder           " + installation.AppFolder()))
        << ReadFileText(log);
}

TEST(RestartDeletion, DefaultFlowOffersTheRestartPageAfterTheFinishPage)
{
    HeldInstallation held("restartpage");
    SampleInstallation& installation = held.installation;
    ASSERT_TRUE(installation.SaveRecord());
    HeldOpenFile extension(held.Extension());
    ASSERT_TRUE(extension.IsHeld());

    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    HWND question = WaitForWindow("Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, question);
    PressButton(question, IDYES);
    HWND finish = WaitForWindow("Uninstall Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, finish);
    EXPECT_EQ(nullptr, GetDlgItem(finish, IDC_RESTART_NOW)) << "the finish page comes first";
    PressButton(finish, IDOK);
    ASSERT_TRUE(WaitForWindowGone(finish));
    HWND restart = WaitForWindow("Uninstall Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, restart) << "no restart page";
    EXPECT_TRUE(IsDialogItemChecked(restart, IDC_RESTART_NOW)) << "restarting now is the preselected choice";
    EXPECT_TRUE(Contains(DialogItemText(restart, IDC_MESSAGE), "Sample App")) << DialogItemText(restart, IDC_MESSAGE);
    SetCheck(restart, IDC_RESTART_NOW, false);
    SetCheck(restart, IDC_RESTART_LATER, true);
    PressButton(restart, IDOK);
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_EQ(1u, program.ExitCode()) << "an interactive run keeps its exit status";
    EXPECT_TRUE(WaitForPathGone(installation.AppFolder()));
}

TEST(RestartDeletion, SecondUninstallerOfTheSameInstallationEndsWithoutTouchingAnything)
{
    SampleInstallation installation("onlyone");
    installation.AddFile("App.exe");
    ASSERT_TRUE(installation.AddUninstallEntry());
    ASSERT_TRUE(installation.SaveRecord());
    const std::string secondLog = installation.InProgram("second.log");

    ProgramUnderTest first;
    ASSERT_TRUE(first.Start(installation.UninstallerPath()));
    HWND question = WaitForWindow("Sample App", kDialogClass, first.ProcessId());
    ASSERT_NE(nullptr, question);

    ProgramUnderTest second;
    ASSERT_TRUE(second.Start(installation.UninstallerPath()));
    HWND busy = WaitForWindow("Sample App", kDialogClass, second.ProcessId());
    ASSERT_NE(nullptr, busy);
    EXPECT_EQ("The uninstall of Sample App is already running.", MessageBoxText(busy));
    PressButton(busy, IDOK);
    EXPECT_TRUE(second.WaitForExit());
    EXPECT_EQ(1618, RunToTheEnd(installation.UninstallerPath(), "/S /LOG=" + Quoted(secondLog)));
    EXPECT_TRUE(Contains(ReadFileText(secondLog), "is already running: nothing is done"));
    EXPECT_TRUE(PathExists(installation.InProgram("App.exe")));
    EXPECT_TRUE(installation.UninstallEntryExists());
    EXPECT_TRUE(PathExists(installation.UninstallerPath())) << "no cleanup copy was started";

    PressButton(question, IDYES);
    HWND finish = WaitForWindow("Uninstall Sample App", kDialogClass, first.ProcessId());
    ASSERT_NE(nullptr, finish);
    PressButton(finish, IDOK);
    EXPECT_TRUE(first.WaitForExit());
    EXPECT_FALSE(PathExists(installation.InProgram("App.exe")));
    EXPECT_FALSE(installation.UninstallEntryExists());
    EXPECT_TRUE(WaitForPathGone(installation.AppFolder()));
}
