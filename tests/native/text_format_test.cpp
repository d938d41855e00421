#include "ui/text_format.h"

#include <gtest/gtest.h>

TEST(TextFormat, FirstPercentSTakesTheValue)
{
    EXPECT_EQ("Remove C:\\App\\a.exe", FormatText("Remove %s", "C:\\App\\a.exe"));
    EXPECT_EQ("Demo has been successfully uninstalled.", FormatText("%s has been successfully uninstalled.", "Demo"));
    EXPECT_EQ("Init Data...", FormatText("Init Data...", "ignored"));
    EXPECT_EQ("", FormatText("", "ignored"));
    EXPECT_EQ("", FormatText("%s", ""));
}

TEST(TextFormat, ValueIsNeverReadAsAFormat)
{
    EXPECT_EQ("Remove 100%s %d %n", FormatText("Remove %s", "100%s %d %n"));
}

// A translation is data from a file beside the program: whatever it holds, only the first
// "%s" is replaced and nothing else is interpreted.
TEST(TextFormat, HostileTranslationsStayLiteral)
{
    const struct {
        const char* format;
        const char* expected;
    } cases[] = {
        {"%s and %s", "Demo and %s"},
        {"%d %s", "%d Demo"},
        {"%n%s%n", "%nDemo%n"},
        {"%x%p%ls%S", "%x%p%ls%S"},
        {"100%", "100%"},
        {"%", "%"},
        {"50%% of %s", "50% of Demo"},
        {"%%s %s", "%s Demo"},
        {"%10s|%-5s|%s", "%10s|%-5s|Demo"},
        {"%*s %s", "%*s Demo"},
        {"%S", "%S"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.format);
        EXPECT_EQ(entry.expected, FormatText(entry.format, "Demo"));
    }
}

TEST(TextFormat, EmbeddedZeroBytesAreKept)
{
    const std::string format("a\0%s", 4);
    EXPECT_EQ(std::string("a\0v", 3), FormatText(format, "v"));
}
