// The default uninstall of a laid-out installation, driven through its pages: what goes, what
// stays, what the pages show.

#include "app/pages/resource.h"
#include "tests/support/sample_installation.h"
#include "tests/support/scratch_key.h"
#include "tests/support/window_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

constexpr const char* kDialogClass = "#32770";

constexpr const char* kTestKey = "Software\\UnInstallTests\\DefaultUninstall";

void SetValue(HKEY root, const std::string& path, const std::string& name)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    RegCloseKey(key);
}

struct PageTexts {
    std::set<std::string> statuses;
    int range = 0;
    std::string finishCaption;
    std::string finishTitle;
    std::string finishResult;
    std::string finishMessage;
    std::string finishButton;
    bool launchBoxesHidden = false;
};

// Confirms, watches the progress page, reads and presses the finish page, and waits for the end.
PageTexts UninstallThroughThePages(SampleInstallation& installation)
{
    PageTexts seen;
    ProgramUnderTest program;
    EXPECT_TRUE(program.Start(installation.UninstallerPath()));
    HWND question = WaitForWindow(installation.Record().GetAppName(), kDialogClass, program.ProcessId());
    EXPECT_NE(nullptr, question);
    if (!question)
        return seen;
    PressButton(question, IDYES);

    HWND progress = WaitForWindow("Uninstall", kDialogClass, program.ProcessId());
    EXPECT_NE(nullptr, progress) << "no progress page";
    if (progress) {
        ControlTextRecorder statuses(progress, IDC_STATUS);
        while (IsWindow(progress)) {
            DWORD_PTR range = 0;
            if (SendMessageTimeoutA(GetDlgItem(progress, IDC_PROGRESS), PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 200, &range))
                seen.range = static_cast<int>(range);
            Sleep(1);
        }
        seen.statuses = statuses.Stop();
    }
    HWND finish = WaitForWindow("Uninstall " + installation.Record().GetAppName(), kDialogClass, program.ProcessId());
    EXPECT_NE(nullptr, finish) << "no finish page";
    if (!finish)
        return seen;
    seen.finishCaption = WindowText(finish);
    seen.finishTitle = DialogItemText(finish, IDC_TITLE);
    seen.finishResult = DialogItemText(finish, IDC_HEADING);
    seen.finishMessage = DialogItemText(finish, IDC_MESSAGE);
    seen.finishButton = DialogItemText(finish, IDOK);
    seen.launchBoxesHidden = !IsDialogItemVisible(finish, IDC_LAUNCH_FIRST) && !IsDialogItemVisible(finish, IDC_LAUNCH_SECOND);
    PressButton(finish, IDOK);
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_TRUE(WaitForPathGone(installation.AppFolder())) << "the cleanup copy deletes the uninstall folder";
    return seen;
}

class DefaultUninstall : public ::testing::Test {
protected:
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey);
    }
};

}

TEST_F(DefaultUninstall, RemovesWhatTheRecordAndThePoliciesSayAndNothingElse)
{
    SampleInstallation installation("default");
    InstallRecord& record = installation.Record();
    installation.AddFolder("Bin");
    installation.AddFolder("Bin\\Plugins");
    installation.AddFolder("Data");
    installation.AddFolder("Data\\Cache");
    installation.AddFile("Bin\\App.exe");
    installation.AddFile("Bin\\Plugins\\one.dll");
    installation.AddFile("Data\\Cache\\index.dat");
    installation.AddFile("Data\\settings.ini").SetIntField("Uninstall", 1);
    RecordItem& shared = installation.AddFile("Data\\shared.dll");
    shared.SetIntField("Uninstall", 0);
    shared.SetIntField("UpdateType", 3);
    RecordItem& unchanged = installation.AddFile("Data\\unchanged.txt");
    unchanged.SetIntField("Uninstall", 3);
    unchanged.SetField("ModifyDate", RecordedModifyDate(installation.InProgram("Data\\unchanged.txt"), 0));
    RecordItem& changed = installation.AddFile("Data\\changed.txt");
    changed.SetIntField("Uninstall", 3);
    changed.SetField("ModifyDate", RecordedModifyDate(installation.InProgram("Data\\changed.txt"), 1));
    WriteFileText(installation.InProgram("Bin\\user.txt"), "a file of the user");
    SetFileAttributesA(installation.InProgram("Bin\\App.exe").c_str(), FILE_ATTRIBUTE_READONLY);

    const std::string hkcu = std::string(kTestKey) + "\\App";
    SetValue(HKEY_CURRENT_USER, hkcu + "\\Sub\\Deeper", "v");
    SetValue(HKEY_CURRENT_USER, hkcu, "v");
    AddRegistryItem(record, "Key", "HKEY_CURRENT_USER", kTestKey, "App");
    SetValue(HKEY_LOCAL_MACHINE, kTestKey, "InstallDir");
    SetValue(HKEY_LOCAL_MACHINE, kTestKey, "OtherProduct");
    AddRegistryItem(record, "Value", "HKEY_LOCAL_MACHINE", kTestKey, "InstallDir");
    SetValue(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Misspelled", "v");
    AddRegistryItem(record, "Key", "hkey_current_user", kTestKey, "Misspelled");

    ScratchFolder description("desc");
    MakeFolder(description.Join("Docs"));
    MakeFolder(description.Join("Docs\\Empty"));
    record.SetDescPath(description.Join("Docs") + "\\");
    ASSERT_TRUE(installation.AddUninstallEntry());
    ASSERT_TRUE(installation.SaveRecord());

    const PageTexts seen = UninstallThroughThePages(installation);

    EXPECT_FALSE(PathExists(installation.InProgram("Bin\\App.exe"))) << "read-only files go on the second attempt";
    EXPECT_FALSE(PathExists(installation.InProgram("Bin\\Plugins"))) << "empty folders go, deepest first";
    EXPECT_FALSE(PathExists(installation.InProgram("Data\\Cache")));
    EXPECT_FALSE(PathExists(installation.InProgram("Data\\unchanged.txt")));
    EXPECT_TRUE(PathExists(installation.InProgram("Bin\\user.txt"))) << "the user's file stays, and its folder";
    EXPECT_TRUE(PathExists(installation.InProgram("Data\\settings.ini"))) << "policy 1 keeps the file";
    EXPECT_TRUE(PathExists(installation.InProgram("Data\\shared.dll"))) << "policy 0 keeps an update of type 3";
    EXPECT_TRUE(PathExists(installation.InProgram("Data\\changed.txt"))) << "policy 3 keeps a changed file";
    EXPECT_TRUE(PathExists(installation.InProgram("Data")));

    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, hkcu)) << "a key goes with its subtree";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kTestKey)) << "its parent stays";
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kTestKey, "InstallDir"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kTestKey, "OtherProduct"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Misspelled")) << "no root is named in lower case";
    EXPECT_FALSE(installation.UninstallEntryExists());
    EXPECT_FALSE(PathExists(description.Join("Docs"))) << "the empty description folder goes";

    // Only the files the policies let go are counted: 4 files, of which 1 program.
    const int files = 4, programs = 1, folders = 4, registryItems = 3;
    EXPECT_EQ(files + programs + folders + registryItems + 2, seen.range);
    EXPECT_EQ("Uninstall Sample App", seen.finishCaption);
    EXPECT_EQ("Uninstall is successfully!", seen.finishResult);
    EXPECT_EQ("Sample App has been successfully uninstalled.", seen.finishMessage);
    EXPECT_TRUE(seen.launchBoxesHidden) << "the default flow offers nothing to launch";
}

TEST_F(DefaultUninstall, ProgressPageNamesFilesAndRegistryItemsAsItRemovesThem)
{
    SampleInstallation installation("statuses");
    installation.AddFolder("Many");
    // Enough work that the page is still busy when the test has found it.
    for (int i = 0; i < 2000; ++i)
        installation.AddFile("Many\\file" + std::to_string(i) + ".bin");
    for (int i = 0; i < 1000; ++i) {
        SetValue(HKEY_CURRENT_USER, kTestKey, "v" + std::to_string(i));
        AddRegistryItem(installation.Record(), "Value", "HKEY_CURRENT_USER", kTestKey, "v" + std::to_string(i));
    }
    ASSERT_TRUE(installation.SaveRecord());

    const PageTexts seen = UninstallThroughThePages(installation);
    bool sawFile = false;
    for (const auto& status : seen.statuses)
        sawFile = sawFile || status.rfind("Remove " + installation.InProgram("Many\\file"), 0) == 0;
    std::string texts;
    for (const auto& status : seen.statuses)
        texts += "[" + status + "] ";
    EXPECT_TRUE(sawFile) << "no status named a file; saw " << texts;
    EXPECT_TRUE(seen.statuses.count("Remove RegInfo")) << "no registry status";
    EXPECT_EQ(2000 + 1 + 1000 + 2, seen.range);
}

TEST_F(DefaultUninstall, LanguageFileChangesThePageTexts)
{
    SampleInstallation installation("language");
    ASSERT_TRUE(installation.SaveRecord());
    WriteFileText(installation.InApp("Setup.lr"),
        "[Strings]\r\n1016=Deinstallation von %s\r\n1010=Erfolgreich!\r\n1012=%s wurde entfernt.\r\n"
        "[SdUnInstallFinish]\r\n1004=Fertig\r\n[WizardButtons]\r\nFinish=&Schliessen\r\n"
        "[DialogFont]\r\nFontName=Tahoma\r\nFontSize=13\r\n");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    HWND question = WaitForWindow("Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, question);
    PressButton(question, IDYES);
    HWND finish = WaitForWindow("Deinstallation von Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, finish);
    EXPECT_EQ("Fertig", DialogItemText(finish, IDC_TITLE));
    EXPECT_EQ("Erfolgreich!", DialogItemText(finish, IDC_HEADING));
    EXPECT_EQ("Sample App wurde entfernt.", DialogItemText(finish, IDC_MESSAGE));
    EXPECT_EQ("&Schliessen", DialogItemText(finish, IDOK));
    EXPECT_EQ("", DialogItemText(finish, IDC_BACK)) << "a missing key blanks the Back button";
    PressButton(finish, IDOK);
    EXPECT_TRUE(program.WaitForExit());
}

TEST_F(DefaultUninstall, HostileRecordRunsToTheEndAndRemovesOnlyWhatItNames)
{
    SampleInstallation installation("hostile");
    WriteFileText(installation.InApp("sentinel.txt"), "must stay");
    MakeFolder(installation.InApp("SentinelFolder"));
    WriteFileText(installation.InApp("SentinelFolder\\inside.txt"), "must stay");
    WriteFileText(installation.InApp("named.txt"), "named: goes");
    SetValue(HKEY_CURRENT_USER, kTestKey, "Sentinel");

    const std::string longName(259 - installation.AppFolder().size() - 1, 'L');
    const std::string longerName(260 - installation.AppFolder().size() - 1, 'M');
    std::string text = "[CopyFile]\r\n"
        "Item1=" + installation.InApp("named.txt") + "\r\nItem1_Uninstall=abc\r\nItem1_RegType=-5\r\n"
        "Item2=" + installation.InApp("named.txt") + "\r\n"
        "Item3=" + installation.InApp("missing\\nothing.txt") + "\r\n"
        "Item4=" + installation.InApp("SentinelFolder") + "\r\n"
        "Item5=" + installation.InApp(longName) + "\r\n"
        "Item6=" + installation.InApp(longerName) + "\r\n"
        "Item7_Uninstall=2\r\n"
        "Item9=" + installation.InApp("sentinel.txt") + "\r\n"
        "Count=99\r\n"
        "[CreateDir]\r\nItem1=\r\nItem2=" + installation.InApp("SentinelFolder") + "\r\nItem2=" + installation.InApp("missing") + "\r\n"
        "[RegItem]\r\nItem1=Key,HKEY_CURRENT_USER\r\nItem2=Value,HKEY_CURRENT_USER,Software\\UnInstallTests\\Nope,Sentinel\r\n"
        "Item3=Key,HKEY_CURRENT_USER,,\r\nItem4=Key, HKEY_CURRENT_USER,Software,UnInstallTests\r\n"
        "[ShellObj]\r\nItem1=Group\r\n"
        "[Comm]\r\nUnInstallFolder=" + installation.AppFolder() + "\r\nAppName=Sample App\r\nGUID=\r\nsftype=2x\r\nsfentype=-1\r\n";
    ASSERT_TRUE(WriteFileText(installation.InApp("Setup.Kvx"), text));
    WriteFileText(installation.InApp(longName), "x");

    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    HWND question = WaitForWindow("Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, question);
    PressButton(question, IDYES);
    HWND finish = WaitForWindow("Uninstall Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, finish) << "the run did not reach the finish page";
    EXPECT_FALSE(PathExists(installation.InApp("named.txt")));
    EXPECT_FALSE(PathExists(installation.InApp(longName))) << "a 259-character path is removed";
    EXPECT_TRUE(PathExists(installation.InApp("sentinel.txt"))) << "item 9 follows a gap and is ignored";
    EXPECT_TRUE(PathExists(installation.InApp("SentinelFolder\\inside.txt")));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kTestKey, "Sentinel"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\UnInstallTests")) << "a blank before the root matches no root";
    PressButton(finish, IDOK);
    EXPECT_TRUE(program.WaitForExit());
}
