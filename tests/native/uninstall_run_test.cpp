// The uninstall run without a window: what it removes, in which order, what the page shows and
// how far the bar moves.

#include "app/run/uninstall_run.h"
#include "record/file_time_source.h"
#include "record/install_record.h"
#include "ui/language_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

class NoFileTimes : public FileTimeSource {
public:
    bool GetFileWriteTime(const std::string&, int64_t&) const override { return false; }
};

// Records every call of the run on one time line, the page's and the system's alike.
class Recorder : public RunView, public RemovalOperations {
public:
    std::vector<std::string> events;
    int range = -1;
    int position = 0;

    void SetStatusText(const std::string& text) override { events.push_back("status:" + text); }
    void ShowRemoveLabel(bool show) override { events.push_back(show ? "label:show" : "label:hide"); }
    void SetProgressRange(unsigned short total) override { range = total; }
    void AdvanceProgress(int n) override { position += n; }
    void PumpOneMessage() override {}

    ItemResult RemoveServiceOf(const std::string& path) override { return Note("service:" + path); }
    ItemResult EndProcessesOf(const std::string& path) override { return Note("end:" + path); }
    ItemResult UnregisterServer(const std::string& path, unsigned type) override
    {
        return Note("unregister:" + path + "#" + std::to_string(type));
    }
    ItemResult RemoveFile(const std::string& path) override { return Note("file:" + path); }
    ItemResult RemoveFolderIfEmpty(const std::string& path) override { return Note("folder:" + path); }
    ItemResult RemoveRegistryItem(const std::string& item) override { return Note("registry:" + item); }
    ItemResult RemoveShellObject(const std::string& item) override { return Note("shell:" + item); }
    ItemResult RemoveUninstallEntry() override { return Note("entry"); }
    ItemResult RemoveDescFolder() override { return Note("desc"); }
    ItemResult KeepFile(const std::string& path, const std::string& reason) override
    {
        events.push_back("keep:" + path);
        return Kept(reason);
    }
    const FileTimeSource& FileTimes() const override { return m_times; }

    ItemResult Note(const std::string& event)
    {
        events.push_back(event);
        return Removed();
    }

    // The system calls alone, without the page's.
    std::vector<std::string> Removals() const
    {
        std::vector<std::string> removals;
        for (const auto& event : events)
            if (event.rfind("status:", 0) != 0 && event.rfind("label:", 0) != 0)
                removals.push_back(event);
        return removals;
    }

private:
    NoFileTimes m_times;
};

// Whether the "Remove:" label shows when the event happens: the last label event before it says.
bool LabelShownAt(const std::vector<std::string>& events, const std::string& event)
{
    SCOPED_TRACE(event);
    auto at = std::find(events.begin(), events.end(), event);
    EXPECT_NE(events.end(), at) << "the event never happened";
    bool shown = false;
    for (auto earlier = events.begin(); earlier != at; ++earlier) {
        if (*earlier == "label:show")
            shown = true;
        else if (*earlier == "label:hide")
            shown = false;
    }
    return shown;
}

RecordItem Item(std::initializer_list<std::pair<const char*, const char*>> fields)
{
    RecordItem item;
    for (const auto& field : fields)
        item.SetField(field.first, field.second);
    return item;
}

InstallRecord FullRecord()
{
    InstallRecord record;
    record.CopyFiles().push_back(Item({{"FileName", "C:\\App\\App.exe"}}));
    record.CopyFiles().push_back(Item({{"FileName", "C:\\App\\Svc.exe"}, {"RegType", "2"}}));
    record.CopyFiles().push_back(Item({{"FileName", "C:\\App\\Com.dll"}, {"RegType", "1"}, {"Uninstall", "1"}}));
    record.CopyFiles().push_back(Item({{"FileName", "C:\\App\\Both.exe"}, {"RegType", "3"}}));
    record.CopyFiles().push_back(Item({{"RegType", "0"}})); // no FileName: an empty entry
    record.CreateDirs().push_back(Item({{"DirName", "C:\\App"}}));
    record.CreateDirs().push_back(Item({{"DirName", "C:\\App\\Sub"}}));
    record.RegItems().push_back(Item({{"Type", "Key"}, {"Root", "HKEY_CURRENT_USER"}, {"Path", "Software\\Maker"}, {"Name", "App"}}));
    record.RegItems().push_back(Item({{"Type", "Value"}, {"Root", "HKEY_LOCAL_MACHINE"}, {"Path", "Software\\Maker"}, {"Name", "Dir"}}));
    record.ShellObjects().push_back(Item({{"Type", "Group"}, {"Path", "C:\\Menu\\App"}}));
    record.ShellObjects().push_back(Item({{"Type", "Shortcut"}, {"Path", "C:\\Menu\\App\\App.lnk"}}));
    return record;
}

}

TEST(UninstallRun, RemovesInTheFixedOrderWithFoldersRegistryAndShellObjectsLastFirst)
{
    Recorder recorder;
    UninstallRun run(recorder, recorder, nullptr);
    run.Execute(FullRecord());

    const std::vector<std::string> expected = {
        "service:C:\\App\\Svc.exe", "service:C:\\App\\Both.exe",
        "end:C:\\App\\App.exe", "end:C:\\App\\Svc.exe", "end:C:\\App\\Both.exe",
        "unregister:C:\\App\\Svc.exe#2", "unregister:C:\\App\\Com.dll#1", "unregister:C:\\App\\Both.exe#3",
        "file:C:\\App\\App.exe", "file:C:\\App\\Svc.exe", "file:C:\\App\\Both.exe",
        "folder:C:\\App\\Sub", "folder:C:\\App",
        "registry:Value,HKEY_LOCAL_MACHINE,Software\\Maker,Dir", "registry:Key,HKEY_CURRENT_USER,Software\\Maker,App",
        "shell:Shortcut,C:\\Menu\\App\\App.lnk", "shell:Group,C:\\Menu\\App",
        "entry", "desc",
    };
    EXPECT_EQ(expected, recorder.Removals());
}

TEST(UninstallRun, BarRangeCountsEveryStepAndTheLastAdvanceReachesIt)
{
    Recorder recorder;
    UninstallRun run(recorder, recorder, nullptr);
    run.Execute(FullRecord());
    // 2 services + 3 programs + 3 servers + 4 files (one empty) + 2 folders + 2 registry + 2 shell + 2.
    EXPECT_EQ(20, recorder.range);
    EXPECT_EQ(21, recorder.position) << "one advance more than the range: the bar ends at its maximum";
}

TEST(UninstallRun, EmptyRecordShowsInitDataAndAdvancesThreeTimes)
{
    Recorder recorder;
    UninstallRun run(recorder, recorder, nullptr);
    run.Execute(InstallRecord());
    EXPECT_EQ(2, recorder.range);
    EXPECT_EQ(3, recorder.position);
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_EQ("status:Init Data...", recorder.events.front());
    EXPECT_EQ((std::vector<std::string>{"entry", "desc"}), recorder.Removals());
}

TEST(UninstallRun, StatusTextsNameWhatIsBeingRemoved)
{
    Recorder recorder;
    UninstallRun run(recorder, recorder, nullptr);
    run.Execute(FullRecord());
    const auto& events = recorder.events;
    auto has = [&](const std::string& event) { return std::find(events.begin(), events.end(), event) != events.end(); };
    EXPECT_TRUE(has("status:Stop service C:\\App\\Svc.exe"));
    EXPECT_TRUE(has("status:Cleaning application : C:\\App\\App.exe"));
    EXPECT_TRUE(has("status:UnRegist C:\\App\\Com.dll"));
    EXPECT_TRUE(has("status:Remove C:\\App\\App.exe"));
    EXPECT_TRUE(has("status:Remove C:\\App\\Sub"));
    EXPECT_TRUE(has("status:Remove RegInfo"));
    EXPECT_TRUE(has("status:Remove ShellObj "));
}

TEST(UninstallRun, RemoveLabelFramesTheProgramFileAndFolderSteps)
{
    Recorder recorder;
    UninstallRun run(recorder, recorder, nullptr);
    run.Execute(FullRecord());
    const auto& events = recorder.events;
    EXPECT_TRUE(LabelShownAt(events, "status:Cleaning application : C:\\App\\App.exe"));
    EXPECT_FALSE(LabelShownAt(events, "status:UnRegist C:\\App\\Com.dll"));
    EXPECT_TRUE(LabelShownAt(events, "status:Remove C:\\App\\App.exe"));
    EXPECT_TRUE(LabelShownAt(events, "status:Remove C:\\App\\Sub"));
    EXPECT_FALSE(LabelShownAt(events, "status:Remove RegInfo"));
    // The status line is cleared as the file step's label goes.
    auto fileStep = std::find(events.begin(), events.end(), "file:C:\\App\\App.exe");
    auto hidden = std::find(fileStep, events.end(), "label:hide");
    ASSERT_NE(events.end(), hidden);
    ASSERT_NE(events.end(), hidden + 1);
    EXPECT_EQ("status:", *(hidden + 1));
}

TEST(UninstallRun, LanguageFileTextsReplaceTheStatusTexts)
{
    const std::string path = "uninstall_run_test.lr";
    {
        std::ofstream file(path, std::ios::binary);
        file << "[Strings]\r\n1008=Entferne %s\r\n1006=Registry %d 100%\r\n";
    }
    LanguageFile language;
    ASSERT_TRUE(language.LoadLanguage("Setup", path));
    Recorder recorder;
    UninstallRun run(recorder, recorder, &language);
    run.Execute(FullRecord());
    std::remove(path.c_str());
    const auto& events = recorder.events;
    EXPECT_NE(events.end(), std::find(events.begin(), events.end(), "status:Entferne C:\\App\\App.exe"));
    EXPECT_NE(events.end(), std::find(events.begin(), events.end(), "status:Registry %d 100%"));
}

TEST(UninstallRun, HugeInstallationCutsTheRangeToSixteenBits)
{
    InstallRecord record;
    for (int i = 0; i < 70000; ++i)
        record.CreateDirs().push_back(Item({{"DirName", "C:\\App\\D"}}));
    Recorder recorder;
    UninstallRun run(recorder, recorder, nullptr);
    run.Execute(record);
    // 70000 folders and the two final steps are 70002 advances; the 16-bit range keeps
    // 70002 - 65536 of them, so the bar is full long before the run ends.
    EXPECT_EQ(4466, recorder.range);
}

TEST(UninstallRun, ReportNamesEveryItemOnceWithThePolicyThatKeptOrRemovedTheFile)
{
    class Lines : public RemovalReport {
    public:
        std::vector<std::string> lines;
        void Item(RemovalItemKind kind, const std::string& name, const ItemResult& result) override
        {
            lines.push_back(FormatReportLine(kind, name, result, false));
        }
    } report;
    Recorder recorder;
    UninstallRun run(recorder, recorder, nullptr, &report);
    run.Execute(FullRecord());

    // 2 services, 3 programs, 3 servers, 1 kept and 3 removed files (the entry without a name
    // names nothing), 2 folders, 2 registry items, 2 shell objects, the entry and the record folder.
    EXPECT_EQ(20u, report.lines.size());
    const auto has = [&report](const std::string& line) {
        return std::find(report.lines.begin(), report.lines.end(), line) != report.lines.end();
    };
    EXPECT_TRUE(has("kept         file             C:\\App\\Com.dll  (removal policy 1: always kept)"));
    EXPECT_TRUE(has("removed      file             C:\\App\\App.exe  (no removal policy: always removed)"));
    const auto at = [&recorder](const std::string& event) {
        return std::find(recorder.events.begin(), recorder.events.end(), event) - recorder.events.begin();
    };
    EXPECT_LT(at("keep:C:\\App\\Com.dll"), at("file:C:\\App\\App.exe")) << "kept files are told before the first removal";
}
