#include "base/double_byte.h"
#include "record_test_file.h"
#include "ui/language_file.h"

#include <gtest/gtest.h>

namespace {

// A language file loaded from the given bytes; the file itself is gone when this returns.
LanguageFile LoadLanguageText(const std::string& text)
{
    TestFile file(".lr");
    EXPECT_TRUE(file.Write(text));
    LanguageFile language;
    EXPECT_TRUE(language.LoadLanguage("Setup", file.Path()));
    return language;
}

bool ShiftJisLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

class ShiftJisLanguageFile : public ::testing::Test {
protected:
    void SetUp() override { SetLeadByteTest(ShiftJisLeadByte); }
    void TearDown() override { SetLeadByteTest(nullptr); }
};

}

TEST(LanguageFile, LoadsSectionsAndKeys)
{
    TestFile file(".lr");
    ASSERT_TRUE(file.Write("[Strings]\r\n1014=Really remove %s ?\r\n[DialogFont]\r\nFontName=Tahoma\r\nFontSize=13\r\n"));
    LanguageFile language;
    EXPECT_FALSE(language.IsLoaded());
    ASSERT_TRUE(language.LoadLanguage("Setup", file.Path()));
    EXPECT_TRUE(language.IsLoaded());
    EXPECT_EQ("Setup", language.Name());
    EXPECT_EQ(file.Path(), language.Path());
    bool found = false;
    EXPECT_EQ("Really remove %s ?", language.GetString("Strings", 1014, &found));
    EXPECT_TRUE(found);
    EXPECT_EQ("Tahoma", language.GetString("dialogfont", "FONTNAME"));
    EXPECT_EQ(13, language.GetInt("DialogFont", "FontSize"));
}

TEST(LanguageFile, SectionsDifferingInCaseAreMergedIntoTheFirst)
{
    const LanguageFile language = LoadLanguageText("[Strings]\r\n1004=first\r\n[WizardButtons]\r\nBack=< Back\r\n"
                                                   "[STRINGS]\r\n1005=second\r\n[strings]\r\n1004=shadowed\r\n");
    ASSERT_EQ(2u, language.Sections().size());
    EXPECT_EQ("Strings", language.Sections()[0].name);
    EXPECT_EQ("first", language.GetString("strings", "1004"));
    EXPECT_EQ("second", language.GetString("Strings", "1005"));
}

TEST(LanguageFile, FirstOfDuplicateKeysWins)
{
    const LanguageFile language = LoadLanguageText("[Strings]\r\n1016=Remove %s\r\n1016=Later %s\r\n");
    EXPECT_EQ("Remove %s", language.GetString("Strings", 1016));
    EXPECT_EQ(2u, language.Sections()[0].keys.size()) << "duplicates are kept";
}

TEST(LanguageFile, MissingSectionOrKeyIsEmptyAndNotFound)
{
    const LanguageFile language = LoadLanguageText("[Strings]\r\n1004=\r\n");
    bool found = true;
    EXPECT_EQ("", language.GetString("Missing", "1004", &found));
    EXPECT_FALSE(found);
    found = true;
    EXPECT_EQ("", language.GetString("Strings", 1005, &found));
    EXPECT_FALSE(found);
    EXPECT_EQ("", language.GetString("Strings", 1004, &found));
    EXPECT_TRUE(found) << "a present key with an empty value is found";
}

TEST(LanguageFile, BackslashNIsALineBreak)
{
    const LanguageFile language = LoadLanguageText("[SdUninstallReboot]\r\n2015=first\\nsecond\\\\nthird\\\r\n");
    EXPECT_EQ("first\nsecond\\\nthird\\", language.GetString("SdUninstallReboot", 2015));
}

TEST_F(ShiftJisLanguageFile, TrailByteBackslashBeforeNIsNoLineBreak)
{
    // 0x95 0x5C is one character whose trail byte equals the backslash.
    const LanguageFile language = LoadLanguageText("[Strings]\r\n1008=\x95\x5cn\\n%s\r\n");
    EXPECT_EQ("\x95\x5cn\n%s", language.GetString("Strings", 1008));
}

TEST(LanguageFile, LineFeedOnlyFileIsOneKeyOfTheUnnamedSection)
{
    const LanguageFile language = LoadLanguageText("[Strings]\n1014=Other %s\n1013=Missing\n");
    EXPECT_EQ("", language.GetString("Strings", 1014));
    ASSERT_EQ(1u, language.Sections().size());
    EXPECT_EQ("", language.Sections()[0].name);
    EXPECT_EQ("[Strings]\n1014", language.Sections()[0].keys[0]);
}

TEST(LanguageFile, IntegersAreDecimalOrZero)
{
    const LanguageFile language = LoadLanguageText("[DialogFont]\r\nFontSize=big\r\nA=-8\r\nB=12pt\r\nC=\r\n");
    EXPECT_EQ(0, language.GetInt("DialogFont", "FontSize"));
    EXPECT_EQ(-8, language.GetInt("DialogFont", "A"));
    EXPECT_EQ(12, language.GetInt("DialogFont", "B"));
    EXPECT_EQ(0, language.GetInt("DialogFont", "C"));
    EXPECT_EQ(0, language.GetInt("DialogFont", "Missing"));
}

TEST(LanguageFile, FailedLoadChangesNothing)
{
    TestFile file(".lr");
    ASSERT_TRUE(file.Write("[Strings]\r\n1004=Loaded\r\n"));
    LanguageFile language;
    ASSERT_TRUE(language.LoadLanguage("Setup", file.Path()));
    EXPECT_FALSE(language.LoadLanguage("Other", "no_such_folder_for_record_tests/Setup.lr"));
    EXPECT_EQ("Setup", language.Name());
    EXPECT_EQ("Loaded", language.GetString("Strings", 1004));
}
