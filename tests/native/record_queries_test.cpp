#include "record/install_record.h"
#include "record/record_date.h"
#include "record/record_queries.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Last-write times by path; every lookup is counted.
class FakeFileTimes : public FileTimeSource {
public:
    void Set(const std::string& path, int64_t time) { m_times[path] = time; }
    bool GetFileWriteTime(const std::string& path, int64_t& calendarTime) const override
    {
        ++m_lookups;
        const auto found = m_times.find(path);
        if (found == m_times.end())
            return false;
        calendarTime = found->second;
        return true;
    }
    [[nodiscard]] int Lookups() const { return m_lookups; }

private:
    std::map<std::string, int64_t> m_times;
    mutable int m_lookups = 0;
};

constexpr char RecordedDate[] = "2022-3-14 15:9:26";
constexpr char Path[] = "C:\\App\\app.dll";

int64_t RecordedTime()
{
    int64_t time = 0;
    EXPECT_TRUE(ParseRecordDate(RecordedDate, time));
    return time;
}

// A copied file with the given Uninstall and UpdateType ("-" leaves the field out).
RecordItem CopiedFile(const char* uninstall, const char* updateType)
{
    RecordItem item;
    item.SetField("FileName", Path);
    item.SetField("ModifyDate", RecordedDate);
    if (std::string(uninstall) != "-")
        item.SetField("Uninstall", uninstall);
    if (std::string(updateType) != "-")
        item.SetField("UpdateType", updateType);
    return item;
}

RecordItem ItemWith(std::initializer_list<RecordField> fields)
{
    RecordItem item;
    for (const auto& field : fields)
        item.SetField(field.name, field.value);
    return item;
}

using Texts = std::vector<std::string>;

}

TEST(RemovalPolicy, EveryPolicyWithChangedAndUnchangedFiles)
{
    const struct {
        const char* uninstall;
        const char* updateType;
        bool removeUnchanged;
        bool removeChanged;
    } cases[] = {
        {"-", "-", true, true},   {"-", "3", true, true},   {"0", "-", true, true},   {"0", "3", false, false},
        {"0", "2", true, true},   {"1", "-", false, false}, {"1", "1", false, false}, {"2", "3", true, true},
        {"3", "-", true, false},  {"3", "3", true, false},  {"4", "-", true, true},   {"4", "1", true, true},
        {"4", "2", false, false}, {"5", "-", true, false},  {"5", "1", true, false},  {"5", "2", false, false},
        {"7", "-", false, false}, {"-1", "-", false, false}, {"abc", "3", false, false}, {" 2", "-", true, true},
    };
    FakeFileTimes unchanged;
    unchanged.Set(Path, RecordedTime());
    FakeFileTimes changed;
    changed.Set(Path, RecordedTime() + 1);
    for (const auto& entry : cases) {
        SCOPED_TRACE(std::string("Uninstall ") + entry.uninstall + ", UpdateType " + entry.updateType);
        const RecordItem item = CopiedFile(entry.uninstall, entry.updateType);
        EXPECT_EQ(entry.removeUnchanged, ShouldRemoveFile(item, unchanged));
        EXPECT_EQ(entry.removeChanged, ShouldRemoveFile(item, changed));
    }
}

TEST(RemovalPolicy, UnchangedTestNeedsTheSameSecond)
{
    FakeFileTimes times;
    const RecordItem item = CopiedFile("3", "-");
    EXPECT_FALSE(ShouldRemoveFile(item, times)) << "a file that cannot be opened is kept";
    times.Set(Path, RecordedTime() - 1);
    EXPECT_FALSE(ShouldRemoveFile(item, times));
    times.Set(Path, RecordedTime());
    EXPECT_TRUE(ShouldRemoveFile(item, times));

    const RecordItem undated = ItemWith({{"FileName", Path}, {"Uninstall", "3"}});
    FakeFileTimes none;
    EXPECT_TRUE(ShouldRemoveFile(undated, none)) << "without a recorded date there is nothing to compare";
    EXPECT_FALSE(ShouldRemoveFile(ItemWith({{"Uninstall", "3"}, {"ModifyDate", RecordedDate}}), times))
        << "an item without a file name is kept";
    EXPECT_EQ(0, none.Lookups());
}

TEST(RemovalPolicy, FileTimesAreOnlyLookedUpWhenThePolicyNeedsThem)
{
    FakeFileTimes times;
    for (const char* uninstall : {"-", "0", "1", "2", "4", "9"})
        (void)ShouldRemoveFile(CopiedFile(uninstall, "-"), times);
    (void)ShouldRemoveFile(CopiedFile("5", "2"), times);
    EXPECT_EQ(0, times.Lookups());
}

TEST(RecordQueries, FilesFollowThePolicyButComServersDoNot)
{
    InstallRecord record;
    record.CopyFiles().push_back(ItemWith({{"FileName", "C:\\App\\kept.dll"}, {"Uninstall", "1"}, {"RegType", "1"}}));
    record.CopyFiles().push_back(ItemWith({{"FileName", "C:\\App\\svc.exe"}, {"RegType", "2"}}));
    record.CopyFiles().push_back(ItemWith({{"RegType", "3"}}));
    record.CopyFiles().push_back(ItemWith({{"FileName", "C:\\App\\plain.txt"}, {"RegType", "0"}}));
    record.CopyFiles().push_back(ItemWith({{"FileName", "C:\\App\\plain.txt"}, {"RegType", "-2"}}));
    record.CopyFiles().push_back(ItemWith({{"FileName", "C:\\App\\odd.ocx"}, {"RegType", "x"}}));
    FakeFileTimes times;
    Texts files = {"earlier entry"};
    ListFilesToRemove(record, times, files);
    EXPECT_EQ((Texts{"earlier entry", "C:\\App\\svc.exe", "", "C:\\App\\plain.txt", "C:\\App\\plain.txt",
                     "C:\\App\\odd.ocx"}),
              files);
    Texts servers;
    std::vector<unsigned> types;
    ListComServers(record, servers, types);
    EXPECT_EQ((Texts{"C:\\App\\kept.dll", "C:\\App\\svc.exe", ""}), servers);
    EXPECT_EQ((std::vector<unsigned>{1, 2, 3}), types);
    EXPECT_EQ(2u, CountServiceCandidates(types));
    EXPECT_EQ(1u, CountExeFiles(files));
}

TEST(RecordQueries, FoldersRegistryItemsAndShellObjectsNeedTheirFields)
{
    InstallRecord record;
    record.CreateDirs().push_back(ItemWith({{"DirName", "C:\\App"}}));
    record.CreateDirs().push_back(ItemWith({{"DirName", ""}}));
    record.CreateDirs().push_back(RecordItem());
    record.CreateDirs().push_back(ItemWith({{"DirName", "C:\\App"}}));
    record.RegItems().push_back(ItemWith({{"Type", "Key"}, {"Root", "HKEY_CURRENT_USER"}, {"Path", "Software\\Maker"},
                                          {"Name", "App"}}));
    record.RegItems().push_back(ItemWith({{"Type", "Key"}, {"Root", "HKEY_CURRENT_USER"}, {"Path", "Software"}}));
    record.RegItems().push_back(ItemWith({{"Type", "Value"}, {"Root", "HKEY_LOCAL_MACHINE"}, {"Path", ""},
                                          {"Name", ""}}));
    record.ShellObjects().push_back(ItemWith({{"Type", "Group"}, {"Path", "C:\\Menu\\Maker"}}));
    record.ShellObjects().push_back(ItemWith({{"Path", "C:\\Menu\\Maker\\App.lnk"}}));
    Texts folders;
    ListFolders(record, folders);
    EXPECT_EQ((Texts{"C:\\App", "C:\\App"}), folders);
    Texts registry;
    ListRegistryItems(record, registry);
    EXPECT_EQ((Texts{"Key,HKEY_CURRENT_USER,Software\\Maker,App", "Value,HKEY_LOCAL_MACHINE,,"}), registry);
    Texts shell;
    ListShellObjects(record, shell);
    EXPECT_EQ((Texts{"Group,C:\\Menu\\Maker"}), shell);
}

TEST(RecordQueries, ExeExtensionIsTheTextAfterTheLastDot)
{
    const struct {
        const char* path;
        bool exe;
    } cases[] = {
        {"C:\\App\\Tool.EXE", true},   {"C:\\App\\tool.exe", true},   {"C:\\App.old\\README", false},
        {"C:\\App.exe\\README", false}, {"C:\\App\\tool.exe.bak", false}, {".exe", false},
        {"C:\\App\\tool.", false},     {"C:\\App\\tool", false},      {"", false},
        {"C:\\App\\tool.ex", false},   {"C:\\App\\tool.exe ", false}, {"a.exe", true},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.path);
        EXPECT_EQ(entry.exe, HasExeExtension(entry.path));
    }
    EXPECT_EQ("old\\README", GetExtension("C:\\App.old\\README"));
}
