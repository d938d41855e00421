#include "sysops/file_ops.h"
#include "sysops/listed_file_times.h"

#include "tests/support/scratch.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

bool SetWriteTime(const std::string& path, WORD year, WORD second)
{
    SYSTEMTIME local = {year, 3, 0, 4, 5, 6, second, 250};
    FILETIME localFile = {};
    FILETIME utc = {};
    HANDLE open = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool set = open != INVALID_HANDLE_VALUE && SystemTimeToFileTime(&local, &localFile)
        && LocalFileTimeToFileTime(&localFile, &utc) && SetFileTime(open, nullptr, nullptr, &utc);
    if (open != INVALID_HANDLE_VALUE)
        CloseHandle(open);
    return set;
}

}

// The removal policy decides on these times; read by folder listing they must be the times
// (and the failures) that opening each file gives, or a changed file of the user would go.
TEST(ListedFileTimes, AnswerAsEachFileReadOnItsOwn)
{
    ScratchFolder scratch("listedtimes");
    ASSERT_TRUE(MakeFolder(scratch.Join("Sub")));
    ASSERT_TRUE(MakeFolder(scratch.Join("Folder.dll")));
    const char* files[] = {"Same.dll", "Changed.dll", "ReadOnly.txt", "Sub\\Deeper.exe"};
    for (const char* name : files)
        ASSERT_TRUE(WriteFileText(scratch.Join(name), "x"));
    ASSERT_TRUE(SetWriteTime(scratch.Join("Same.dll"), 2021, 7));
    ASSERT_TRUE(SetWriteTime(scratch.Join("Changed.dll"), 2021, 8)) << "one second after its sibling";
    ASSERT_TRUE(SetWriteTime(scratch.Join("ReadOnly.txt"), 2019, 59));
    ASSERT_TRUE(SetFileAttributesA(scratch.Join("ReadOnly.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    const std::string asked[] = {
        scratch.Join("Same.dll"), scratch.Join("Changed.dll"), scratch.Join("READONLY.TXT"),
        scratch.Join("Sub\\Deeper.exe"), scratch.Join("Sub\\..\\Same.dll"), scratch.Join("Missing.dll"),
        scratch.Join("Folder.dll"), scratch.Join("Sub"), scratch.Join("Gone\\Missing.dll"), scratch.Join("*.dll"),
    };
    ListedFileTimes listed;
    for (const std::string& path : asked) {
        SCOPED_TRACE(path);
        int64_t single = 0x0BADF00D;
        int64_t fromListing = 0x0BADF00D;
        const bool singleRead = GetFileWriteTime(path, single);
        EXPECT_EQ(singleRead, listed.GetFileWriteTime(path, fromListing));
        EXPECT_EQ(single, fromListing);
    }
    int64_t same = 0;
    int64_t changed = 0;
    EXPECT_TRUE(listed.GetFileWriteTime(scratch.Join("Same.dll"), same));
    EXPECT_TRUE(listed.GetFileWriteTime(scratch.Join("Changed.dll"), changed));
    EXPECT_EQ(1, changed - same) << "the listing keeps the second";
    SetFileAttributesA(scratch.Join("ReadOnly.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}
