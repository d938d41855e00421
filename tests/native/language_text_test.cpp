#include "record_test_file.h"
#include "ui/language_file.h"
#include "ui/string_table.h"
#include "ui/text_format.h"

#include <gtest/gtest.h>

#include <set>

TEST(LanguageText, BuiltInTableCoversEveryId)
{
    std::set<int> ids;
    for (auto entry = StringTableBegin(); entry != StringTableEnd(); ++entry) {
        EXPECT_NE(nullptr, entry->text);
        ids.insert(entry->id);
    }
    EXPECT_EQ(17u, ids.size());
    EXPECT_EQ(1004, *ids.begin());
    EXPECT_EQ(1020, *ids.rbegin());
    EXPECT_EQ("Remove ShellObj ", GetText(1005, nullptr)) << "the trailing blank belongs to the text";
    EXPECT_EQ("Are you sure you want to uninstall %s ?", GetText(1014, nullptr));
    EXPECT_EQ("Not find Uninstall Info", GetTableText(1013));
}

TEST(LanguageText, UnknownIdIsEmpty)
{
    EXPECT_EQ("", GetText(1003, nullptr));
    EXPECT_EQ("", GetText(1021, nullptr));
    EXPECT_EQ("", GetText(-1, nullptr));
}

TEST(LanguageText, LanguageFileOverridesOnlyWhatItHolds)
{
    TestFile file(".lr");
    ASSERT_TRUE(file.Write("[strings]\r\n1014=Wirklich %s entfernen?\r\n1010=\r\n1003=extra\r\n"));
    LanguageFile language;
    EXPECT_EQ("Init Data...", GetText(1004, &language)) << "a language file that is not loaded is not asked";
    ASSERT_TRUE(language.LoadLanguage("Setup", file.Path()));
    EXPECT_EQ("Wirklich Demo entfernen?", FormatText(GetText(1014, &language), "Demo"));
    EXPECT_EQ("", GetText(1010, &language)) << "a present empty text does not fall back";
    EXPECT_EQ("Init Data...", GetText(1004, &language));
    EXPECT_EQ("extra", GetText(1003, &language));
}
