#include "record/install_record.h"
#include "record/record_queries.h"
#include "record_test_file.h"

#include <gtest/gtest.h>

namespace {

// Loads the text as a record file; the lines are joined with CR LF.
InstallRecord LoadText(const std::string& text)
{
    TestFile file(".kvx");
    EXPECT_TRUE(file.Write(text));
    InstallRecord record;
    EXPECT_TRUE(record.Load(file.Path()));
    return record;
}

std::vector<std::string> FileNames(const InstallRecord& record)
{
    std::vector<std::string> names;
    for (const auto& item : record.CopyFiles())
        names.push_back(item.Field("FileName"));
    return names;
}

using Names = std::vector<std::string>;

}

TEST(RecordLoad, ReadsEveryListAndTheCommonFacts)
{
    const InstallRecord record = LoadText(
        "[CopyFile]\r\nItem1=C:\\App\\app.exe\r\nItem1_RegType=2\r\nItem1_ServiceName=AppSvc\r\n"
        "Item1_Uninstall=3\r\nItem1_ModifyDate=2023-7-4 9:5:0\r\nItem1_UpdateType=1\r\nCount=1\r\n"
        "[CreateDir]\r\nItem1=C:\\App\r\nCount=1\r\n"
        "[RegItem]\r\nItem1=Value,HKEY_LOCAL_MACHINE,Software\\Maker\\App,InstallDir\r\nItem1_DataType=0\r\n"
        "Item1_Data=C:\\App\r\nCount=1\r\n"
        "[ShellObj]\r\nItem1=Shortcut,C:\\Start\\App.lnk\r\nCount=1\r\n"
        "[Comm]\r\nUnInstallFolder=C:\\App\\Uninst\r\nAppName=Demo App\r\nGUID={1234}\r\nDescPath=C:\\Desc\r\n"
        "Compent=Main\r\nFileGroup=Files\r\nSetupType=1\r\nsftype=2\r\nsfentype=2\r\n");
    ASSERT_EQ(1u, record.CopyFiles().size());
    const RecordItem& file = record.CopyFiles()[0];
    EXPECT_EQ("C:\\App\\app.exe", file.Field("FileName"));
    EXPECT_EQ("2", file.Field("RegType"));
    EXPECT_EQ("AppSvc", file.Field("ServiceName"));
    EXPECT_EQ("2023-7-4 9:5:0", file.Field("ModifyDate"));
    ASSERT_EQ(1u, record.CreateDirs().size());
    EXPECT_EQ("C:\\App", record.CreateDirs()[0].Field("DirName"));
    ASSERT_EQ(1u, record.RegItems().size());
    const RecordItem& value = record.RegItems()[0];
    EXPECT_EQ("Value", value.Field("Type"));
    EXPECT_EQ("HKEY_LOCAL_MACHINE", value.Field("Root"));
    EXPECT_EQ("Software\\Maker\\App", value.Field("Path"));
    EXPECT_EQ("InstallDir", value.Field("Name"));
    EXPECT_EQ("C:\\App", value.Field("Data"));
    ASSERT_EQ(1u, record.ShellObjects().size());
    EXPECT_EQ("Shortcut", record.ShellObjects()[0].Field("Type"));
    EXPECT_EQ("C:\\Start\\App.lnk", record.ShellObjects()[0].Field("Path"));
    EXPECT_EQ("C:\\App\\Uninst", record.GetUnInstallFolder());
    EXPECT_EQ("Demo App", record.GetAppName());
    EXPECT_EQ("{1234}", record.GetGUID());
    EXPECT_EQ("C:\\Desc", record.GetDescPath());
    EXPECT_EQ("Main", record.GetCompent());
    EXPECT_EQ("Files", record.GetFileGroup());
    EXPECT_EQ(1, record.GetSetupType());
    EXPECT_EQ(2, record.Getsftype());
    EXPECT_EQ(2, record.Getsfentype());
}

TEST(RecordLoad, GapInNumberingEndsTheList)
{
    const InstallRecord record = LoadText("[CopyFile]\r\nItem1=a\r\nItem3=c\r\nItem4=d\r\nItem3_RegType=1\r\n"
                                          "Item2=b\r\nItem0=zero\r\nCount=4\r\n");
    // Item2 comes after the ignored Item3 but is still the next number, so it is taken.
    EXPECT_EQ((Names{"a", "b"}), FileNames(record));
    EXPECT_FALSE(record.CopyFiles()[1].HasField("RegType"));
}

TEST(RecordLoad, SuffixLineBeforeItemLineCreatesTheItem)
{
    const InstallRecord record = LoadText("[CopyFile]\r\nItem1=a\r\nItem2_RegType=1\r\nItem2=b\r\n");
    ASSERT_EQ(2u, record.CopyFiles().size());
    EXPECT_EQ("1", record.CopyFiles()[1].Field("RegType"));
    EXPECT_EQ("b", record.CopyFiles()[1].Field("FileName"));
}

TEST(RecordLoad, CopyFileKeepsEverySuffixAndLaterLinesOverwrite)
{
    const InstallRecord record = LoadText("[CopyFile]\r\nItem1=a\r\nItem1_Custom=x\r\nItem1_Custom=y\r\n"
                                          "Item1_Odd_Name=z\r\nItem1_FileName=renamed\r\n");
    const RecordItem& item = record.CopyFiles()[0];
    EXPECT_EQ("y", item.Field("Custom"));
    EXPECT_EQ("z", item.Field("Odd_Name")) << "only the first '_' splits the key";
    EXPECT_EQ("renamed", item.Field("FileName"));
}

TEST(RecordLoad, ItemKeysNeedItemAndANumberOfAtLeastOne)
{
    const struct {
        const char* key;
        bool valid;
        int number;
        const char* suffix;
    } cases[] = {
        {"Item1", true, 1, ""},         {"Item12_RegType", true, 12, "RegType"}, {"Item01", true, 1, ""},
        {"Item2abc", true, 2, ""},      {"Item 3", true, 3, ""},                 {"Item0", false, 0, ""},
        {"Item-1", false, -1, ""},      {"Item", false, 0, ""},                  {"Item_1", false, 0, "1"},
        {"item1", false, 0, ""},        {"Itemx", false, 0, ""},                 {"Count", false, 0, ""},
        {"Item99999999999", true, 2147483647, ""},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.key);
        int number = -99;
        std::string suffix = "junk";
        EXPECT_EQ(entry.valid, InstallRecord::ParseItemKey(entry.key, number, suffix));
        if (entry.valid) {
            EXPECT_EQ(entry.number, number);
        }
        EXPECT_EQ(entry.suffix, suffix);
    }
}

TEST(RecordLoad, RegistryItemNeedsFourCommaFields)
{
    const InstallRecord record = LoadText("[RegItem]\r\nItem1=Key,HKEY_CURRENT_USER,Software\\Maker\r\n"
                                          "Item2=Key, HKEY_CURRENT_USER,Software\\Maker,App\r\n"
                                          "Item3=Value,HKEY_LOCAL_MACHINE,P,N,extra,more\r\n"
                                          "Item4=Key,HKEY_CURRENT_USER,,\r\n");
    ASSERT_EQ(4u, record.RegItems().size());
    EXPECT_TRUE(record.RegItems()[0].IsEmpty()) << "three fields store nothing";
    EXPECT_EQ(" HKEY_CURRENT_USER", record.RegItems()[1].Field("Root")) << "fields are not trimmed";
    EXPECT_EQ("N", record.RegItems()[2].Field("Name")) << "text after the fourth field is dropped";
    EXPECT_TRUE(record.RegItems()[3].HasField("Name"));
    EXPECT_EQ("", record.RegItems()[3].Field("Path"));

    std::vector<std::string> items;
    ListRegistryItems(record, items);
    EXPECT_EQ((Names{"Key, HKEY_CURRENT_USER,Software\\Maker,App", "Value,HKEY_LOCAL_MACHINE,P,N",
                     "Key,HKEY_CURRENT_USER,,"}),
              items);
}

TEST(RecordLoad, RegistryValueLinesAreKeptButCannotReplaceTheFourFields)
{
    const InstallRecord record = LoadText("[RegItem]\r\nItem1=Value,HKEY_CURRENT_USER,P,N\r\nItem1_DataType=1\r\n"
                                          "Item1_Data=7\r\nItem1_Uninstall=0\r\nItem1_UpdateType=1\r\n"
                                          "Item1_Name=Other\r\nItem1_Custom=x\r\n");
    const RecordItem& item = record.RegItems()[0];
    EXPECT_EQ("N", item.Field("Name"));
    EXPECT_EQ("7", item.Field("Data"));
    EXPECT_EQ("1", item.Field("DataType"));
    EXPECT_FALSE(item.HasField("Custom"));
}

TEST(RecordLoad, FolderAndShellObjectLines)
{
    const InstallRecord record = LoadText("[CreateDir]\r\nItem1_Extra=x\r\nItem2=C:\\App\r\n"
                                          "[ShellObj]\r\nItem1=Group\r\nItem2=Group,C:\\Menu\\App,tail\r\nItem3=Shortcut,\r\n");
    ASSERT_EQ(2u, record.CreateDirs().size());
    EXPECT_TRUE(record.CreateDirs()[0].IsEmpty()) << "suffixed lines create the item but store nothing";
    EXPECT_EQ("C:\\App", record.CreateDirs()[1].Field("DirName"));
    ASSERT_EQ(3u, record.ShellObjects().size());
    EXPECT_TRUE(record.ShellObjects()[0].IsEmpty());
    EXPECT_EQ("C:\\Menu\\App", record.ShellObjects()[1].Field("Path"));
    EXPECT_TRUE(record.ShellObjects()[2].HasField("Path"));
}

TEST(RecordLoad, SectionAndKeyNamesAreCaseSensitive)
{
    const InstallRecord record = LoadText("[comm]\r\nAppName=Lower section\r\n[Comm]\r\nappname=Lower key\r\n"
                                          "GUID=g\r\n[copyfile]\r\nItem1=x\r\n");
    EXPECT_EQ("", record.GetAppName());
    EXPECT_EQ("g", record.GetGUID());
    EXPECT_TRUE(record.CopyFiles().empty());
}

TEST(RecordLoad, CommonNumbersAreReadAsDecimalIntegers)
{
    const InstallRecord record = LoadText("[Comm]\r\nSetupType=abc\r\nsftype= -12xyz\r\nsfentype=+2\r\n");
    EXPECT_EQ(0, record.GetSetupType());
    EXPECT_EQ(-12, record.Getsftype());
    EXPECT_EQ(2, record.Getsfentype());
    const InstallRecord huge = LoadText("[Comm]\r\nSetupType=99999999999999999999\r\nsftype=-99999999999999\r\n");
    EXPECT_EQ(2147483647, huge.GetSetupType());
    EXPECT_EQ(-2147483647 - 1, huge.Getsftype());
}

TEST(RecordLoad, OtherSectionsAndLinesBeforeTheFirstHeaderAreIgnored)
{
    const InstallRecord record = LoadText("Item1=before\r\nAppName=before\r\n[Other]\r\nItem1=other\r\n"
                                          "[CopyFile]\r\nItem1=a\r\n[Comm]\r\nAppName=first\r\nAppName=second\r\n"
                                          "[CopyFile]\r\nItem2=b\r\n");
    EXPECT_EQ((Names{"a", "b"}), FileNames(record)) << "a section may come back and continue its list";
    EXPECT_EQ("second", record.GetAppName());
}

TEST(RecordLoad, LoadStartsWithEmptyListsButKeepsCommonValues)
{
    TestFile file(".kvx");
    ASSERT_TRUE(file.Write("[Comm]\r\nAppName=First\r\nGUID=g1\r\n[CopyFile]\r\nItem1=a\r\n"));
    InstallRecord record;
    ASSERT_TRUE(record.Load(file.Path()));
    ASSERT_TRUE(file.Write("[Comm]\r\nAppName=Second\r\n"));
    ASSERT_TRUE(record.Load(file.Path()));
    EXPECT_TRUE(record.CopyFiles().empty());
    EXPECT_EQ("Second", record.GetAppName());
    EXPECT_EQ("g1", record.GetGUID());

    EXPECT_FALSE(record.Load("no_such_folder_for_record_tests/Setup.Kvx"));
    EXPECT_EQ("no_such_folder_for_record_tests/Setup.Kvx", record.GetRecordPath());
    EXPECT_EQ("Second", record.GetAppName());
}
