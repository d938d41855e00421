#include "base/double_byte.h"
#include "base/path_text.h"
#include "sysops/file_ops.h"

#include "tests/support/scratch.h"

#include <windows.h>

#include <gtest/gtest.h>

// Paths in the Japanese code page 932, where the trail byte of many characters is 0x5C,
// the backslash. These run in a process whose ANSI code page really is 932 (ctest starts
// one as windows_tests_cp932); elsewhere they are skipped.

namespace {

// Two characters whose second byte is 0x5C: U+8868 and U+30BD.
const std::string kTable = "\x95\x5C";
const std::string kKatakanaSo = "\x83\x5C";

bool ExistsWide(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

class DoubleBytePaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        char expected[16] = {};
        const bool required = GetEnvironmentVariableA("UNINSTALL_EXPECT_ACP", expected, sizeof expected) > 0;
        if (GetACP() == 932)
            return;
        if (required)
            FAIL() << "the process was meant to run in code page " << expected << " but runs in " << GetACP();
        GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 932";
    }
};

}

TEST_F(DoubleBytePaths, TheSystemReportsTheTrailByteCharacters)
{
    EXPECT_TRUE(IsLeadByte(0x95)) << "UseSystemCodePage installed the system's lead-byte test";
    EXPECT_EQ(std::wstring(L"\u8868"), Wide(kTable));
    EXPECT_EQ(std::wstring(L"\u30BD"), Wide(kKatakanaSo));
}

TEST_F(DoubleBytePaths, SplittingKeepsTrailBytes)
{
    const std::string folder = "C:\\" + kTable;
    EXPECT_EQ(folder, GetFolderPart(folder + "\\UnInstall.exe"));
    EXPECT_EQ("UnInstall.exe", GetFileNamePart(folder + "\\UnInstall.exe"));
    EXPECT_EQ(kKatakanaSo + ".exe", GetFileNamePart(folder + "\\" + kKatakanaSo + ".exe"));
    EXPECT_EQ(folder, WithoutTrailingBackslash(folder));
}

TEST_F(DoubleBytePaths, FoldersEndingInATrailByteAreCreatedFoundAndDeleted)
{
    ScratchFolder scratch("dbcs");
    const std::string outer = scratch.Join(kTable);
    const std::string inner = outer + "\\" + kKatakanaSo;
    const std::wstring wideOuter = Wide(scratch.Path()) + L"\\\u8868";

    EXPECT_TRUE(CreateFolderPath(inner));
    EXPECT_TRUE(ExistsWide(wideOuter + L"\\\u30BD")) << "each level got its own name, not one cut at 0x5C";
    EXPECT_TRUE(FolderExists(outer));
    EXPECT_TRUE(FolderExists(inner + "\\"));

    ASSERT_TRUE(WriteTextFile(inner + "\\" + kTable + ".txt", "x", false));
    EXPECT_TRUE(FileExists(inner + "\\" + kTable + ".txt"));
    EXPECT_FALSE(IsFolderEmpty(outer));
    EXPECT_FALSE(IsFolderEmpty(inner));
    EXPECT_FALSE(IsProtectedSystemFolder(outer));

    EXPECT_TRUE(DeleteFolderTree(outer));
    EXPECT_FALSE(ExistsWide(wideOuter)) << "a folder whose name ends in 0x5C is still deleted";
    EXPECT_TRUE(FolderExists(scratch.Path()));
}
