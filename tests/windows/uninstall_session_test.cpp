// The run's final steps (the uninstall entry, the description folder) and the script files.

#include "app/flows/scrambled_text.h"
#include "app/flows/script_files.h"
#include "app/run/final_steps.h"
#include "app/run/uninstall_session.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool EntryExists(const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + name).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void CreateEntry(const std::string& name)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + name).c_str(), 0, nullptr,
                                 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
}

class UninstallEntry : public ::testing::Test {
protected:
    const std::string m_guid = "{UnInstallTests-Session-" + std::to_string(GetCurrentProcessId()) + "}";
    const std::string m_neighbour = "{UnInstallTests-Neighbour-" + std::to_string(GetCurrentProcessId()) + "}";
    void SetUp() override
    {
        CreateEntry(m_guid);
        CreateEntry(m_neighbour);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + m_guid).c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + m_neighbour).c_str());
    }
};

}

TEST_F(UninstallEntry, OnlyTheRecordsEntryIsDeleted)
{
    UninstallSession session;
    session.Record().SetGUID(m_guid);
    EXPECT_TRUE(RemoveUninstallEntry(session.Record()));
    EXPECT_FALSE(EntryExists(m_guid));
    EXPECT_TRUE(EntryExists(m_neighbour));
}

TEST_F(UninstallEntry, EmptyGuidDeletesNothing)
{
    UninstallSession session;
    EXPECT_TRUE(RemoveUninstallEntry(session.Record()));
    EXPECT_TRUE(EntryExists(m_guid));
    EXPECT_TRUE(EntryExists(m_neighbour)) << "the Uninstall key and every entry in it stay";
}

TEST_F(UninstallEntry, AnEntryWithSubkeysIsNotWalked)
{
    CreateEntry(m_guid + "\\Sub");
    UninstallSession session;
    session.Record().SetGUID(m_guid);
    EXPECT_TRUE(RemoveUninstallEntry(session.Record()));
    EXPECT_TRUE(EntryExists(m_guid + "\\Sub")) << "the plain deletion leaves a key that has subkeys";
}

TEST(UninstallScript, ScrambledScriptIsReadFromHwThenZn)
{
    ScratchFolder scratch("script");
    UninstallSession session;
    session.Record().SetUnInstallFolder(scratch.Path());
    session.Record().Setsfentype(2);
    WriteFileText(scratch.Join("zn.dll"), Scramble("from zn"));
    EXPECT_EQ("from zn", ReadUninstallScript(session.Record()));

    WriteFileText(scratch.Join("hw.dll"), Scramble(std::string("from\0 hw", 8)));
    EXPECT_EQ("from hw", ReadUninstallScript(session.Record())) << "hw.dll first; a byte that decodes to zero is dropped";

    WriteFileText(scratch.Join("hw.dll"), "");
    EXPECT_EQ("", ReadUninstallScript(session.Record())) << "an empty hw.dll does not fall back to zn.dll";

    WriteFileText(scratch.Join("jt.dll"), Scramble("Function F()\r\nEnd Function"));
    EXPECT_EQ("Function F()\r\nEnd Function", ReadWindowsScript(session.Record()));
}

TEST(UninstallScript, UnscrambledEncodingReadsNothing)
{
    ScratchFolder scratch("plainscript");
    UninstallSession session;
    session.Record().SetUnInstallFolder(scratch.Path());
    session.Record().Setsfentype(1);
    WriteFileText(scratch.Join("hw.dll"), Scramble("script"));
    EXPECT_EQ("", ReadUninstallScript(session.Record()));
}

TEST(UninstallSessionValues, CommValuesComeFromTheParsedRecord)
{
    ScratchFolder scratch("profile");
    const std::string path = scratch.Join("Setup.kvx");
    // A repeated key gives its last value to every reader of the record.
    WriteFileText(path, "[Comm]\r\nUnInstallFolder=C:\\First\r\nUnInstallFolder=C:\\App\\Uninstall\r\n"
                        "DescPath=C:\\Docs\\\r\n");
    UninstallSession session;
    session.SetDescriptionPath(path);
    EXPECT_EQ("", session.GetUnInstallFolder()) << "nothing before the record is parsed";
    session.LoadRecord();
    EXPECT_EQ("C:\\App\\Uninstall", session.GetUnInstallFolder());
    EXPECT_EQ("C:\\Docs\\", session.GetDescPath());
    EXPECT_EQ("C:\\App\\Uninstall", session.Record().GetUnInstallFolder());
    WriteFileText(path, "[Comm]\r\nUnInstallFolder=changed\r\n");
    session.LoadRecord();
    EXPECT_EQ("C:\\App\\Uninstall", session.Record().GetUnInstallFolder()) << "the record is parsed once";
}
