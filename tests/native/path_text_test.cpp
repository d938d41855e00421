#include "base/double_byte.h"
#include "base/path_text.h"
#include "base/text_compare.h"

#include <gtest/gtest.h>

namespace {

// Lead bytes of code page 932 (Shift JIS): 0x81-0x9F and 0xE0-0xFC.
bool ShiftJisLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

class ShiftJisPaths : public ::testing::Test {
protected:
    void SetUp() override { SetLeadByteTest(ShiftJisLeadByte); }
    void TearDown() override { SetLeadByteTest(nullptr); }
};

}

TEST(PathText, FolderPartIsTextLeftOfLastBackslash)
{
    EXPECT_EQ("C:\\App", GetFolderPart("C:\\App\\UnInstall.exe"));
    EXPECT_EQ("", GetFolderPart("UnInstall.exe"));
    EXPECT_EQ("", GetFolderPart(""));
    EXPECT_EQ("", GetFolderPart("\\x"));
}

TEST(PathText, FileNamePartNeedsBackslashPastFirstCharacter)
{
    EXPECT_EQ("UnInstall.exe", GetFileNamePart("C:\\App\\UnInstall.exe"));
    EXPECT_EQ("\\x", GetFileNamePart("\\x"));
    EXPECT_EQ("name", GetFileNamePart("name"));
    EXPECT_EQ("", GetFileNamePart("C:\\App\\"));
}

TEST(PathText, ExtensionIsCutAtTheLastDot)
{
    EXPECT_EQ("UnInstall", WithoutExtension("UnInstall.exe"));
    EXPECT_EQ("Sample.App", WithoutExtension("Sample.App.exe"));
    EXPECT_EQ("name", WithoutExtension("name"));
}

TEST(PathText, CaseInsensitiveNameComparison)
{
    EXPECT_TRUE(EqualsNoCase("uninstall.EXE", "UnInstall.exe"));
    EXPECT_FALSE(EqualsNoCase("UnInstall.ex", "UnInstall.exe"));
    EXPECT_FALSE(EqualsNoCase("strKVTemp.exe", "UnInstall.exe"));
}

TEST_F(ShiftJisPaths, TrailByteBackslashIsNotASeparator)
{
    // 0x95 0x5C is one character (a kanji) whose trail byte equals the backslash.
    const std::string folder = "C:\\\x95\x5C";
    const std::string path = folder + "\\file.txt";
    EXPECT_EQ(folder, GetFolderPart(path));
    EXPECT_EQ("file.txt", GetFileNamePart(path));
    EXPECT_EQ(std::string::npos, FindLastBackslash("\x95\x5C"));
    EXPECT_EQ(folder, WithoutTrailingBackslash(folder)) << "the trail byte must not be cut";
    EXPECT_EQ(folder, WithoutTrailingBackslash(folder + "\\"));
    EXPECT_EQ("\x95\x5C", WithoutExtension(GetFileNamePart("C:\\App\\\x95\x5C.exe"))) << "a program's caption";
}

TEST_F(ShiftJisPaths, TrailBytesAreNotFolded)
{
    // 0x82 0x61 and 0x82 0x41 are different characters although 0x61 folds to 0x41 in ASCII.
    EXPECT_FALSE(EqualsNoCase("\x82\x61", "\x82\x41"));
    EXPECT_TRUE(EqualsNoCase("a\x82\x61", "A\x82\x61"));
}
