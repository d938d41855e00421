#include "record/install_record.h"
#include "record_test_file.h"

#include <gtest/gtest.h>

namespace {

RecordItem MakeItem(std::initializer_list<RecordField> fields)
{
    RecordItem item;
    for (const auto& field : fields)
        item.SetField(field.name, field.value);
    return item;
}

InstallRecord MakeFullRecord()
{
    InstallRecord record;
    record.CopyFiles().push_back(MakeItem({{"FileName", "C:\\App\\app.exe"}, {"RegType", "3"},
                                           {"ServiceName", "AppSvc"}, {"ServiceID", "7"}, {"Uninstall", "5"},
                                           {"FileGroup", "Main"}, {"ModifyDate", "2023-7-4 9:5:0"},
                                           {"UpdateType", "1"}}));
    record.CopyFiles().push_back(MakeItem({{"FileName", "C:\\App\\readme.txt"}}));
    record.CreateDirs().push_back(MakeItem({{"DirName", "C:\\App"}}));
    record.RegItems().push_back(MakeItem({{"Type", "Key"}, {"Root", "HKEY_CURRENT_USER"},
                                          {"Path", "Software\\Maker"}, {"Name", "App"}}));
    record.RegItems().push_back(MakeItem({{"Type", "Value"}, {"Root", "HKEY_LOCAL_MACHINE"},
                                          {"Path", "Software\\Maker\\App"}, {"Name", "InstallDir"},
                                          {"DataType", "0"}, {"Data", "C:\\App"}, {"Uninstall", "0"},
                                          {"UpdateType", "3"}}));
    record.ShellObjects().push_back(MakeItem({{"Type", "Group"}, {"Path", "C:\\Menu\\Maker"}}));
    record.ShellObjects().push_back(MakeItem({{"Type", "Shortcut"}, {"Path", "C:\\Menu\\Maker\\App.lnk"}}));
    record.SetUnInstallFolder("C:\\App\\Uninst");
    record.SetAppName("Demo App");
    record.SetGUID("{6F1C}");
    record.SetDescPath("C:\\Desc");
    record.SetCompent("Main");
    record.SetFileGroup("Files");
    record.SetSetupType(-4);
    record.Setsftype(2);
    record.Setsfentype(2);
    return record;
}

InstallRecord SaveAndLoad(InstallRecord& record, TestFile& file)
{
    EXPECT_TRUE(record.Save(file.Path()));
    InstallRecord loaded;
    EXPECT_TRUE(loaded.Load(file.Path()));
    return loaded;
}

}

TEST(RecordSave, WritesTheCanonicalLayoutWithCarriageReturnLineFeeds)
{
    TestFile file(".kvx");
    InstallRecord record = MakeFullRecord();
    ASSERT_TRUE(record.Save(file.Path()));
    EXPECT_EQ(file.Path(), record.GetRecordPath());
    EXPECT_EQ("[CopyFile]\r\n"
              "Item1=C:\\App\\app.exe\r\nItem1_RegType=3\r\nItem1_ServiceName=AppSvc\r\nItem1_ServiceID=7\r\n"
              "Item1_Uninstall=5\r\nItem1_FileGroup=Main\r\nItem1_ModifyDate=2023-7-4 9:5:0\r\nItem1_UpdateType=1\r\n"
              "Item2=C:\\App\\readme.txt\r\n"
              "Count=2\r\n"
              "[CreateDir]\r\nItem1=C:\\App\r\nCount=1\r\n"
              "[RegItem]\r\nItem1=Key,HKEY_CURRENT_USER,Software\\Maker,App\r\n"
              "Item2=Value,HKEY_LOCAL_MACHINE,Software\\Maker\\App,InstallDir\r\nItem2_DataType=0\r\n"
              "Item2_Data=C:\\App\r\nItem2_Uninstall=0\r\nItem2_UpdateType=3\r\nCount=2\r\n"
              "[ShellObj]\r\nItem1=Group,C:\\Menu\\Maker\r\nItem2=Shortcut,C:\\Menu\\Maker\\App.lnk\r\nCount=2\r\n"
              "[Comm]\r\nUnInstallFolder=C:\\App\\Uninst\r\nAppName=Demo App\r\nGUID={6F1C}\r\nDescPath=C:\\Desc\r\n"
              "Compent=Main\r\nFileGroup=Files\r\nSetupType=-4\r\nsftype=2\r\nsfentype=2\r\n",
              file.Read());
}

TEST(RecordSave, SavedRecordLoadsBackTheSame)
{
    TestFile file(".kvx");
    InstallRecord record = MakeFullRecord();
    const InstallRecord loaded = SaveAndLoad(record, file);
    EXPECT_TRUE(SameRecordContent(record, loaded));
    EXPECT_EQ(record.CopyFiles()[0], loaded.CopyFiles()[0]);
    EXPECT_EQ(record.RegItems()[1], loaded.RegItems()[1]);
}

TEST(RecordSave, EmptyRecordHasEveryHeaderAndCount)
{
    TestFile file(".kvx");
    InstallRecord record;
    ASSERT_TRUE(record.Save(file.Path()));
    EXPECT_EQ("[CopyFile]\r\nCount=0\r\n[CreateDir]\r\nCount=0\r\n[RegItem]\r\nCount=0\r\n[ShellObj]\r\nCount=0\r\n"
              "[Comm]\r\nUnInstallFolder=\r\nAppName=\r\nGUID=\r\nDescPath=\r\nCompent=\r\nFileGroup=\r\n"
              "SetupType=0\r\nsftype=0\r\nsfentype=0\r\n",
              file.Read());
}

TEST(RecordSave, OptionalLinesFollowTheirConditions)
{
    TestFile file(".kvx");
    InstallRecord record;
    record.CopyFiles().push_back(MakeItem({{"FileName", "a"}, {"ModifyDate", ""}, {"UpdateType", ""},
                                           {"Uninstall", ""}, {"Custom", "x"}}));
    record.RegItems().push_back(MakeItem({{"Type", "Key"}, {"Root", "R"}, {"Path", "P"}, {"Name", "N"},
                                          {"Data", "kept only for values"}}));
    record.RegItems().push_back(MakeItem({{"Type", "vALUE"}, {"Root", "R"}, {"Path", "P"}, {"Name", "N"},
                                          {"Data", "d"}, {"UpdateType", ""}}));
    ASSERT_TRUE(record.Save(file.Path()));
    const std::string text = file.Read();
    EXPECT_NE(std::string::npos, text.find("Item1=a\r\nItem1_Uninstall=\r\nCount=1\r\n"))
        << "empty ModifyDate and UpdateType are left out; other suffixes are not written:\n" << text;
    EXPECT_NE(std::string::npos, text.find("Item1=Key,R,P,N\r\nItem2=vALUE,R,P,N\r\nItem2_Data=d\r\nCount=2\r\n"))
        << text;
}

// A left-out item would leave a gap in the numbering, and the reader drops every item after
// a gap; so the next item that can be written takes the free number.
TEST(RecordSave, ItemsThatCannotBeWrittenLeaveNoGap)
{
    TestFile file(".kvx");
    InstallRecord record;
    record.CopyFiles().push_back(MakeItem({{"RegType", "1"}}));
    record.CopyFiles().push_back(MakeItem({{"FileName", "C:\\App\\kept.dll"}}));
    record.CreateDirs().push_back(MakeItem({{"DirName", "line\r\nItem9=injected"}}));
    record.CreateDirs().push_back(MakeItem({{"DirName", "C:\\App"}}));
    record.RegItems().push_back(MakeItem({{"Type", "Key"}, {"Root", "HKEY_CURRENT_USER"}, {"Path", "Software\\A,B"},
                                          {"Name", "C"}}));
    record.RegItems().push_back(MakeItem({{"Type", "Key"}, {"Root", "HKEY_CURRENT_USER"}, {"Path", "Software"},
                                          {"Name", "D"}}));
    record.ShellObjects().push_back(MakeItem({{"Type", "Shortcut"}, {"Path", "C:\\Menu\\A, B.lnk"}}));
    record.ShellObjects().push_back(MakeItem({{"Type", "Group"}}));
    record.ShellObjects().push_back(MakeItem({{"Type", "Group"}, {"Path", "C:\\Menu"}}));
    const InstallRecord loaded = SaveAndLoad(record, file);
    ASSERT_EQ(1u, loaded.CopyFiles().size());
    EXPECT_EQ("C:\\App\\kept.dll", loaded.CopyFiles()[0].Field("FileName"));
    ASSERT_EQ(1u, loaded.CreateDirs().size());
    EXPECT_EQ("C:\\App", loaded.CreateDirs()[0].Field("DirName"));
    ASSERT_EQ(1u, loaded.RegItems().size()) << "a comma inside a field would name another key";
    EXPECT_EQ("D", loaded.RegItems()[0].Field("Name"));
    ASSERT_EQ(1u, loaded.ShellObjects().size());
    EXPECT_EQ("C:\\Menu", loaded.ShellObjects()[0].Field("Path"));
    EXPECT_NE(std::string::npos, file.Read().find("[CopyFile]\r\nItem1=C:\\App\\kept.dll\r\nCount=1\r\n"));
}

// Both this reader and the system's profile functions would read the rest of such a value
// as a line of its own, so a name could smuggle in another key.
TEST(RecordSave, ValuesWithLineEndsAreLeftOut)
{
    TestFile file(".kvx");
    InstallRecord record;
    record.SetAppName("Demo\nDescPath=C:\\Windows");
    record.SetDescPath("C:\\Desc");
    record.CopyFiles().push_back(MakeItem({{"FileName", "a"}, {"FileGroup", "x\ry"}, {"RegType", "1"}}));
    const InstallRecord loaded = SaveAndLoad(record, file);
    EXPECT_EQ("", loaded.GetAppName());
    EXPECT_EQ("C:\\Desc", loaded.GetDescPath());
    EXPECT_FALSE(loaded.CopyFiles()[0].HasField("FileGroup"));
    EXPECT_EQ("1", loaded.CopyFiles()[0].Field("RegType"));
}

TEST(RecordSave, ReplacesALongerFile)
{
    TestFile file(".kvx");
    ASSERT_TRUE(file.Write(std::string(100000, 'x')));
    InstallRecord record;
    ASSERT_TRUE(record.Save(file.Path()));
    EXPECT_EQ(0u, file.Read().find("[CopyFile]\r\nCount=0\r\n"));
    EXPECT_EQ(std::string::npos, file.Read().find('x'));
}

TEST(RecordSave, FailsWithoutAPlaceToWrite)
{
    InstallRecord record;
    EXPECT_FALSE(record.Save(""));
    EXPECT_FALSE(record.Save("no_such_folder_for_record_tests/Setup.Kvx"));
    EXPECT_EQ("no_such_folder_for_record_tests/Setup.Kvx", record.GetRecordPath());
}
