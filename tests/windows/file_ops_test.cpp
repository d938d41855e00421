#include "sysops/file_ops.h"

#include "tests/support/scratch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ctime>

namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

}

TEST(FileExistence, FilesAndFoldersAreToldApart)
{
    ScratchFolder scratch("exists");
    ASSERT_TRUE(WriteFileText(scratch.Join("Setup.Kvx"), "x"));
    ASSERT_TRUE(MakeFolder(scratch.Join("Data")));

    EXPECT_TRUE(FileExists(scratch.Join("Setup.Kvx")));
    EXPECT_TRUE(FileExists(scratch.Join("*.Kvx"))) << "a wildcard finds the file";
    EXPECT_FALSE(FileExists(scratch.Join("Data"))) << "a folder is not a file";
    EXPECT_FALSE(FileExists(scratch.Join("D*"))) << "only the folder matches";
    EXPECT_TRUE(FileExists(scratch.Join("*"))) << "a search that meets a folder first goes on to the file";
    EXPECT_FALSE(FileExists(scratch.Join("Missing.txt")));
    EXPECT_FALSE(FileExists(""));

    EXPECT_TRUE(FolderExists(scratch.Join("Data")));
    EXPECT_TRUE(FolderExists(scratch.Join("Data\\")));
    EXPECT_FALSE(FolderExists(scratch.Join("Setup.Kvx")));
    EXPECT_FALSE(FolderExists(scratch.Join("Missing")));
}

TEST(FileDeletion, ReadOnlyHiddenSystemFileGoesOnTheSecondAttempt)
{
    ScratchFolder scratch("forced");
    const std::string file = scratch.Join("Locked.dll");
    ASSERT_TRUE(WriteFileText(file, "x"));
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_FALSE(DeleteFileA(file.c_str())) << "the plain deletion must fail for this test to mean anything";

    DeleteFileForced(file);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(file));
}

TEST(FileDeletion, FileInUseStaysQuietly)
{
    ScratchFolder scratch("inuse");
    const std::string file = scratch.Join("Busy.exe");
    ASSERT_TRUE(WriteFileText(file, "x"));
    HANDLE open = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);

    DeleteFileForced(file);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, Attributes(file));
    CloseHandle(open);
}

TEST(FolderTreeDeletion, TrailingBackslashDeletesContentsThenFolder)
{
    ScratchFolder scratch("tree");
    const std::string app = scratch.Join("App");
    ASSERT_TRUE(MakeFolder(app));
    ASSERT_TRUE(MakeFolder(app + "\\Data"));
    ASSERT_TRUE(MakeFolder(app + "\\Data\\Deep"));
    ASSERT_TRUE(MakeFolder(app + "\\Empty"));
    ASSERT_TRUE(WriteFileText(app + "\\App.exe", "x"));
    ASSERT_TRUE(WriteFileText(app + "\\Data\\Deep\\ReadOnly.dat", "x"));
    ASSERT_TRUE(SetFileAttributesA((app + "\\Data\\Deep\\ReadOnly.dat").c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(DeleteFolderTree(app + "\\"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(app));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, Attributes(scratch.Path())) << "the parent stays";
}

TEST(FolderTreeDeletion, LockedFileKeepsItsFoldersAndTheRestGoes)
{
    ScratchFolder scratch("partial");
    const std::string app = scratch.Join("App");
    ASSERT_TRUE(MakeFolder(app));
    ASSERT_TRUE(MakeFolder(app + "\\Logs"));
    ASSERT_TRUE(MakeFolder(app + "\\Other"));
    ASSERT_TRUE(WriteFileText(app + "\\Logs\\Open.log", "x"));
    ASSERT_TRUE(WriteFileText(app + "\\Other\\Done.txt", "x"));
    HANDLE open = CreateFileA((app + "\\Logs\\Open.log").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);

    EXPECT_FALSE(DeleteFolderTree(app)) << "the folder stays with the open file";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, Attributes(app + "\\Logs\\Open.log"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(app + "\\Other"));
    CloseHandle(open);
}

TEST(FolderTreeDeletion, ContentsGoAndTheFolderStays)
{
    ScratchFolder scratch("contents");
    ASSERT_TRUE(MakeFolder(scratch.Join("Sub")));
    ASSERT_TRUE(WriteFileText(scratch.Join("Sub\\a.txt"), "x"));
    ASSERT_TRUE(WriteFileText(scratch.Join("b.txt"), "x"));

    DeleteFolderContents(scratch.Path() + "\\");
    EXPECT_TRUE(IsFolderEmpty(scratch.Path()));
    EXPECT_TRUE(FolderExists(scratch.Path()));
}

TEST(FolderTreeDeletion, MissingOrEmptyPathDoesNothing)
{
    ScratchFolder scratch("missing");
    EXPECT_TRUE(DeleteFolderTree(scratch.Join("Nowhere")));
    EXPECT_FALSE(DeleteFolderTree("")) << "an empty path names no folder";
    DeleteFolderContents("");
    EXPECT_TRUE(FolderExists(scratch.Path()));
}

TEST(FolderEmptiness, AnyEntryCountsAndMissingFoldersAreEmpty)
{
    ScratchFolder scratch("empty");
    const std::string group = scratch.Join("Group");
    ASSERT_TRUE(MakeFolder(group));
    EXPECT_TRUE(IsFolderEmpty(group));
    EXPECT_TRUE(IsFolderEmpty(group + "\\"));

    ASSERT_TRUE(MakeFolder(group + "\\Nested"));
    EXPECT_FALSE(IsFolderEmpty(group)) << "an empty subfolder is still an entry";

    const std::string missing = scratch.Join("Missing");
    EXPECT_TRUE(IsFolderEmpty(missing));
    EXPECT_FALSE(RemoveDirectoryA(missing.c_str())) << "removing it then fails quietly";
    EXPECT_FALSE(IsFolderEmpty("")) << "an empty path is never an empty folder";
}

TEST(FolderCreation, MixedAndDoubledSeparatorsCreateEachLevel)
{
    ScratchFolder scratch("create");
    EXPECT_TRUE(CreateFolderPath(scratch.Path() + "\\A\\\\B/C"));
    EXPECT_TRUE(FolderExists(scratch.Join("A")));
    EXPECT_TRUE(FolderExists(scratch.Join("A\\B")));
    EXPECT_TRUE(FolderExists(scratch.Join("A\\B\\C")));

    EXPECT_TRUE(CreateFolderPath(scratch.Join("A\\B\\C\\"))) << "an existing folder is success";
    EXPECT_TRUE(CreateFolderPath(scratch.Path() + "//D//E//"));
    EXPECT_TRUE(FolderExists(scratch.Join("D\\E")));
}

TEST(FolderCreation, FileInTheWayOrNothingToCreateFails)
{
    ScratchFolder scratch("blocked");
    ASSERT_TRUE(WriteFileText(scratch.Join("File"), "x"));
    EXPECT_FALSE(CreateFolderPath(scratch.Join("File\\Sub")));
    EXPECT_FALSE(CreateFolderPath(scratch.Join("File")));
    EXPECT_FALSE(CreateFolderPath(""));
    EXPECT_FALSE(FolderExists(scratch.Join("File\\Sub")));
}

TEST(TextFiles, WriteReplacesOrAppendsBytesAsTheyAre)
{
    ScratchFolder scratch("write");
    const std::string file = scratch.Join("Out.txt");
    EXPECT_TRUE(WriteTextFile(file, "first\n", true)) << "append creates a missing file";
    EXPECT_EQ("first\n", ReadFileText(file));
    EXPECT_TRUE(WriteTextFile(file, "second\r\n", true));
    EXPECT_EQ("first\nsecond\r\n", ReadFileText(file)) << "no line-end conversion";
    EXPECT_TRUE(WriteTextFile(file, "new", false));
    EXPECT_EQ("new", ReadFileText(file)) << "without append the old content is gone";
    EXPECT_TRUE(WriteTextFile(file, "", false));
    EXPECT_EQ("", ReadFileText(file));

    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(WriteTextFile(file, "hidden", false)) << "a hidden file is still written";
    EXPECT_EQ("hidden", ReadFileText(file));

    EXPECT_FALSE(WriteTextFile(scratch.Join("NoFolder\\Out.txt"), "x", false));
}

TEST(TextFiles, ReadAppendsAndCutsEachChunkAtItsFirstZero)
{
    ScratchFolder scratch("read");
    const std::string file = scratch.Join("In.bin");
    // First chunk: "abc", a zero, then filler up to 1024 bytes; second chunk: "tail".
    std::string content = std::string("abc") + '\0' + std::string(1020, 'z') + "tail";
    ASSERT_TRUE(WriteFileText(file, content));

    std::string text = "kept:";
    EXPECT_TRUE(ReadTextFile(file, text));
    EXPECT_EQ("kept:abctail", text);

    std::string missing = "unchanged";
    EXPECT_FALSE(ReadTextFile(scratch.Join("Missing.txt"), missing));
    EXPECT_EQ("unchanged", missing);
}

TEST(FileWriteTime, LocalTimeAsTheRecordWritesIt)
{
    ScratchFolder scratch("time");
    const std::string file = scratch.Join("Dated.dll");
    ASSERT_TRUE(WriteFileText(file, "x"));
    // 2021-03-04 05:06:07 local time, set through the system's own local-to-UTC conversion.
    SYSTEMTIME local = {2021, 3, 0, 4, 5, 6, 7, 0};
    FILETIME localFile = {};
    FILETIME utc = {};
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localFile));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localFile, &utc));
    HANDLE open = CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);
    ASSERT_TRUE(SetFileTime(open, nullptr, nullptr, &utc));
    CloseHandle(open);

    std::tm expected = {};
    expected.tm_year = 121;
    expected.tm_mon = 2;
    expected.tm_mday = 4;
    expected.tm_hour = 5;
    expected.tm_min = 6;
    expected.tm_sec = 7;
    expected.tm_isdst = -1;
    int64_t calendarTime = 0;
    EXPECT_TRUE(GetFileWriteTime(file, calendarTime));
    EXPECT_EQ(static_cast<int64_t>(std::mktime(&expected)), calendarTime);
}

TEST(FileWriteTime, UnopenableFileFails)
{
    ScratchFolder scratch("notime");
    int64_t calendarTime = 0x0BADF00D;
    EXPECT_FALSE(GetFileWriteTime(scratch.Join("Missing.dll"), calendarTime));
    EXPECT_EQ(0x0BADF00D, calendarTime);

    const std::string file = scratch.Join("Exclusive.dll");
    ASSERT_TRUE(WriteFileText(file, "x"));
    HANDLE open = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);
    EXPECT_FALSE(GetFileWriteTime(file, calendarTime)) << "a file held without sharing cannot be dated";
    CloseHandle(open);
}
