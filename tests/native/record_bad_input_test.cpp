#include "record/install_record.h"
#include "record/record_queries.h"
#include "record_test_file.h"
#include "ui/language_file.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class NoFileTimes : public FileTimeSource {
public:
    bool GetFileWriteTime(const std::string&, int64_t&) const override { return false; }
};

struct LoadedInput {
    InstallRecord record;
    LanguageFile language;
};

// Loads the bytes as a record and as a language file and runs every query on the record.
void LoadEverything(const std::string& bytes, LoadedInput& loaded)
{
    TestFile file(".bin");
    ASSERT_TRUE(file.Write(bytes));
    InstallRecord& record = loaded.record;
    EXPECT_TRUE(record.Load(file.Path()));
    std::vector<std::string> texts;
    std::vector<unsigned> types;
    NoFileTimes times;
    ListFilesToRemove(record, times, texts);
    ListFolders(record, texts);
    ListRegistryItems(record, texts);
    ListShellObjects(record, texts);
    ListComServers(record, texts, types);
    EXPECT_TRUE(loaded.language.LoadLanguage("Setup", file.Path()));
    (void)loaded.language.GetString("Strings", 1014);
}

void LoadEverything(const std::string& bytes)
{
    LoadedInput loaded;
    LoadEverything(bytes, loaded);
}

void ExpectLoadsAsEmpty(const std::string& bytes)
{
    SCOPED_TRACE("file " + ::testing::PrintToString(bytes));
    LoadedInput loaded;
    LoadEverything(bytes, loaded);
    EXPECT_TRUE(SameRecordContent(InstallRecord(), loaded.record)) << "the record holds something";
    // Lines before the first section header land in a nameless section, which no text is
    // ever looked up in.
    for (const auto& section : loaded.language.Sections())
        EXPECT_TRUE(section.name.empty() || section.keys.empty()) << "language section [" << section.name << "]";
}

const char WellFormedRecord[] = "[CopyFile]\r\nItem1=C:\\App\\app.exe\r\nItem1_Uninstall=3\r\n"
                                "Item1_ModifyDate=2023-7-4 9:5:0\r\nCount=1\r\n[RegItem]\r\n"
                                "Item1=Key,HKEY_CURRENT_USER,Software\\Maker,App\r\nCount=1\r\n"
                                "[Comm]\r\nAppName=Demo\r\nsftype=2\r\n";

}

TEST(RecordBadInput, MissingFileLeavesTheRecordEmpty)
{
    InstallRecord record;
    EXPECT_FALSE(record.Load("no_such_folder_for_record_tests/Setup.Kvx"));
    EXPECT_TRUE(record.CopyFiles().empty());
    LanguageFile language;
    EXPECT_FALSE(language.LoadLanguage("Setup", "no_such_folder_for_record_tests/Setup.lr"));
    EXPECT_FALSE(language.IsLoaded());
}

TEST(RecordBadInput, EmptyAndBlankFilesLoadAsEmpty)
{
    ExpectLoadsAsEmpty("");
    ExpectLoadsAsEmpty("\r\n\r\n   \t\r");
    ExpectLoadsAsEmpty("[");
    ExpectLoadsAsEmpty("=");
    ExpectLoadsAsEmpty("[]");
}

TEST(RecordBadInput, EveryTruncationOfAWellFormedRecordLoads)
{
    const std::string whole = WellFormedRecord;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE("the first " + std::to_string(length) + " bytes");
        LoadEverything(whole.substr(0, length));
    }
}

TEST(RecordBadInput, BinaryFilesLoad)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(4096, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random() & 0xFF);
        LoadEverything(bytes);
    }
    LoadEverything(std::string(70000, '\0'));
    LoadEverything("[CopyFile]\r" + std::string(70000, '\xff') + "\r");
}

TEST(RecordBadInput, HostileItemNumbersDoNotGrowTheLists)
{
    TestFile file(".kvx");
    ASSERT_TRUE(file.Write("[CopyFile]\r\nItem2147483647=x\r\nItem99999999999=y\r\nItem-2147483648=z\r\n"
                           "Item4294967297=w\r\nItem1=a\r\n"));
    InstallRecord record;
    ASSERT_TRUE(record.Load(file.Path()));
    ASSERT_EQ(1u, record.CopyFiles().size());
    EXPECT_EQ("a", record.CopyFiles()[0].Field("FileName"));
}

#if defined(__linux__)
TEST(RecordBadInput, UnreadableRecordIsNotLoaded)
{
    // On Linux a folder opens as a stream whose first read fails.
    InstallRecord record;
    record.Common().appName = "Earlier";
    EXPECT_FALSE(record.Load("."));
    EXPECT_TRUE(record.ReadError());
    EXPECT_TRUE(record.Common().appName.empty()) << "nothing of a half-read record is kept";
}
#endif
