// Start-up and the two modes of UnInstall.exe, driven through its windows.

#include "tests/support/sample_installation.h"
#include "tests/support/window_driver.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kDialogClass = "#32770";

std::string TempFolder()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

// Answers the confirmation and, on Yes, the pages of the default flow.
void ConfirmAndFinish(ProgramUnderTest& program, const std::string& appName)
{
    HWND question = WaitForWindow(appName, kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, question) << "no confirmation titled " << appName;
    ASSERT_TRUE(PressButton(question, IDYES));
    HWND finish = WaitForWindow("Uninstall " + appName, kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, finish) << "no finish page";
    ASSERT_TRUE(PressButton(finish, IDOK));
}

// Counts the processes that a started program and everything it starts run as. The program is
// put into the job before it is answered anything, so that whatever it starts afterwards
// belongs to the job too.
class ProcessCount {
public:
    ProcessCount() : m_job(CreateJobObjectA(nullptr, nullptr)) {}
    ~ProcessCount()
    {
        if (m_job)
            CloseHandle(m_job);
    }
    ProcessCount(const ProcessCount&) = delete;
    ProcessCount& operator=(const ProcessCount&) = delete;

    bool Watch(DWORD processId)
    {
        HANDLE process = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, processId);
        const bool added = m_job && process && AssignProcessToJobObject(m_job, process);
        if (process)
            CloseHandle(process);
        return added;
    }
    // How many processes ran in the job so far, the ended ones included; 0 when unknown.
    DWORD Total() const
    {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION information = {};
        if (!QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &information, sizeof information,
                                       nullptr))
            return 0;
        return information.TotalProcesses;
    }

private:
    HANDLE m_job;
};

}

TEST(Startup, MissingRecordShowsMessageAndRemovesNothing)
{
    SampleInstallation installation("norecord");
    WriteFileText(installation.InApp("data.txt"), "kept");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));

    HWND box = WaitForWindow("UnInstall", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, box) << "no message box captioned with the executable's name";
    EXPECT_EQ("Not find Uninstall Info", MessageBoxText(box));
    ASSERT_TRUE(PressButton(box, IDOK));
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_TRUE(PathExists(installation.InApp("data.txt")));
}

TEST(Startup, DecliningChangesNothing)
{
    SampleInstallation installation("decline");
    installation.AddFile("program.dat");
    ASSERT_TRUE(installation.AddUninstallEntry());
    ASSERT_TRUE(installation.SaveRecord());
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    ProcessCount processes;
    ASSERT_TRUE(processes.Watch(program.ProcessId()));

    HWND question = WaitForWindow("Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("Are you sure you want to uninstall Sample App ?", MessageBoxText(question));
    ASSERT_TRUE(PressButton(question, IDNO));
    ASSERT_TRUE(program.WaitForExit());
    // A cleanup copy would have been started before the uninstaller ended.
    EXPECT_EQ(1u, processes.Total()) << "the uninstaller started another process";
    EXPECT_TRUE(PathExists(installation.InProgram("program.dat")));
    EXPECT_TRUE(PathExists(installation.UninstallerPath()));
    EXPECT_TRUE(installation.UninstallEntryExists());
}

TEST(Startup, ConfirmedUninstallEndsWithTheFolderDeletedByTheCleanupCopy)
{
    SampleInstallation installation("confirm");
    installation.AddFile("program.dat");
    WriteFileText(installation.InApp("user-notes.txt"), "not in the record");
    ASSERT_TRUE(installation.AddUninstallEntry());
    ASSERT_TRUE(installation.SaveRecord());
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));

    ConfirmAndFinish(program, "Sample App");
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_FALSE(PathExists(TempFolder() + "strKVTemp.exe")) << "the cleanup copy has a folder of its own";
    EXPECT_TRUE(WaitForPathGone(installation.AppFolder())) << "the cleanup copy deletes the uninstall folder";
    EXPECT_FALSE(installation.UninstallEntryExists());
}

TEST(Startup, ExecutableNameIsComparedWithoutCase)
{
    SampleInstallation installation("lowercase", "uninstall.EXE");
    ASSERT_TRUE(installation.SaveRecord());
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    HWND question = WaitForWindow("Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, question) << "uninstall.EXE runs in uninstall mode";
    ASSERT_TRUE(PressButton(question, IDNO));
    EXPECT_TRUE(program.WaitForExit());
}

TEST(Startup, UnderAnyOtherNameItDoesNothing)
{
    SampleInstallation installation("renamed", "Setup2.exe");
    installation.AddFile("program.dat");
    ASSERT_TRUE(installation.SaveRecord());
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_TRUE(PathExists(installation.InProgram("program.dat")));
    EXPECT_TRUE(PathExists(installation.InApp("Setup.Kvx")));
}

TEST(Startup, LongApplicationNameIsCutTo199Characters)
{
    SampleInstallation installation("longname");
    const std::string longName(250, 'N');
    installation.Record().SetAppName(longName);
    ASSERT_TRUE(installation.SaveRecord());
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    const std::string shown(199, 'N');
    HWND question = WaitForWindow(shown, kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("Are you sure you want to uninstall " + shown + " ?", MessageBoxText(question));
    ASSERT_TRUE(PressButton(question, IDNO));
    EXPECT_TRUE(program.WaitForExit());
}

TEST(Startup, LanguageFileTextIsFormattedSafely)
{
    SampleInstallation installation("language");
    ASSERT_TRUE(installation.SaveRecord());
    // A translation with stray % sequences must neither crash nor read stray memory.
    WriteFileText(installation.InApp("Setup.lr"), "[Strings]\r\n1014=Remove %s for good? 100% %d %s %n\r\n");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    HWND question = WaitForWindow("Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("Remove Sample App for good? 100% %d %s %n", MessageBoxText(question));
    ASSERT_TRUE(PressButton(question, IDNO));
    EXPECT_TRUE(program.WaitForExit());
}

TEST(CleanupMode, DeletesTheNamedFolderAfterTheUninstallerEnded)
{
    ScratchFolder scratch("cleanup");
    const std::string copy = scratch.Join("strKVTemp.exe");
    ASSERT_TRUE(CopyFileA((TestProgramFolder() + "\\UnInstall.exe").c_str(), copy.c_str(), FALSE));
    const std::string target = scratch.Join("Target");
    MakeFolder(target);
    ASSERT_TRUE(CopyFileA(copy.c_str(), (target + "\\UnInstall.exe").c_str(), FALSE)) << "an uninstaller's folder";
    MakeFolder(target + "\\Sub");
    WriteFileText(target + "\\Sub\\file.txt", "x");
    SetFileAttributesA((target + "\\Sub\\file.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(copy, "\"0," + target + "\""));
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_FALSE(PathExists(target));
}

TEST(CleanupMode, RefusesEmptyRelativeAndSystemFolders)
{
    ScratchFolder scratch("refuse");
    const std::string copy = scratch.Join("strKVTemp.exe");
    ASSERT_TRUE(CopyFileA((TestProgramFolder() + "\\UnInstall.exe").c_str(), copy.c_str(), FALSE));
    MakeFolder(scratch.Join("Relative"));
    WriteFileText(scratch.Join("Relative\\keep.txt"), "x");

    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    for (const std::string& argument : {std::string(""), std::string("\"0,\""), std::string("\"0,Relative\""),
             "\"0," + std::string(windows) + "\"", std::string("\"0,C:\\\\\""), "\"0," + TempFolder() + "\\\""}) {
        SCOPED_TRACE(argument);
        ProgramUnderTest program;
        ASSERT_TRUE(program.Start(copy, argument));
        ASSERT_TRUE(program.WaitForExit());
    }
    EXPECT_TRUE(PathExists(scratch.Join("Relative\\keep.txt")));
    EXPECT_TRUE(PathExists(std::string(windows) + "\\system32"));
    EXPECT_TRUE(PathExists(copy)) << "the temp folder itself was not emptied";
}
