#include "record/record_line_reader.h"
#include "record_test_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

std::vector<RecordLine> ReadLines(const std::string& bytes)
{
    TestFile file;
    EXPECT_TRUE(file.Write(bytes));
    std::vector<RecordLine> lines;
    RecordLineReader reader;
    EXPECT_TRUE(reader.Open(file.Path()));
    RecordLine line;
    while (reader.Next(line))
        lines.push_back(line);
    return lines;
}

void ExpectLine(const RecordLine& line, const std::string& section, const std::string& key, const std::string& value)
{
    SCOPED_TRACE("expected key " + key);
    EXPECT_EQ(section, line.section);
    EXPECT_EQ(key, line.key);
    EXPECT_EQ(value, line.value);
}

}

TEST(RecordLineReader, OnlyCarriageReturnEndsALine)
{
    const auto lines = ReadLines("[A]\r\nk1=v1\rk2=v2\r\n\r\nk3=v3");
    ASSERT_EQ(3u, lines.size());
    ExpectLine(lines[0], "A", "k1", "v1");
    ExpectLine(lines[1], "A", "k2", "v2");
    ExpectLine(lines[2], "A", "k3", "v3");
}

TEST(RecordLineReader, FileWithLineFeedsOnlyIsOneLine)
{
    const auto lines = ReadLines("[Comm]\nAppName=Demo\nGUID=x\n");
    ASSERT_EQ(1u, lines.size());
    ExpectLine(lines[0], "", "[Comm]\nAppName", "Demo\nGUID=x");
}

TEST(RecordLineReader, LinesAreTrimmedOfWhiteSpaceAndKeysAndValuesOfBlanks)
{
    const auto lines = ReadLines(" \t key  =   value  \t\r\nkey\t=\tvalue\r\n \t \r\n\v\f\r\n");
    ASSERT_EQ(2u, lines.size());
    ExpectLine(lines[0], "", "key", "value");
    // Only spaces are blanks: a tab next to the '=' stays with the key or the value.
    ExpectLine(lines[1], "", "key\t", "\tvalue");
}

TEST(RecordLineReader, SectionHeaderNeedsBracketsAtBothEnds)
{
    const auto lines = ReadLines("before=1\r\n[ Spaced Name ]\r\na=1\r\n[open\r\nclose]\r\n[x]tail\r\n[]\r\nb=2\r\n"
                                 "  [Trimmed]  \r\nc=3\r\n[a=b]\r\nd=4\r\n");
    ASSERT_EQ(8u, lines.size());
    ExpectLine(lines[0], "", "before", "1");
    ExpectLine(lines[1], " Spaced Name ", "a", "1");
    ExpectLine(lines[2], " Spaced Name ", "[open", "");
    ExpectLine(lines[3], " Spaced Name ", "close]", "");
    ExpectLine(lines[4], " Spaced Name ", "[x]tail", "");
    ExpectLine(lines[5], "", "b", "2");
    ExpectLine(lines[6], "Trimmed", "c", "3");
    ExpectLine(lines[7], "a=b", "d", "4");
}

TEST(RecordLineReader, KeyLineSplitsAtFirstEqualsSign)
{
    const auto lines = ReadLines("JustAKey\r\n=only value\r\na=b=c\r\nempty=\r\n");
    ASSERT_EQ(4u, lines.size());
    ExpectLine(lines[0], "", "JustAKey", "");
    ExpectLine(lines[1], "", "", "only value");
    ExpectLine(lines[2], "", "a", "b=c");
    ExpectLine(lines[3], "", "empty", "");
}

TEST(RecordLineReader, BytesAreKeptAsTheyAre)
{
    const std::string value("a\0b\xff\x95\x5c", 6);
    const auto lines = ReadLines("k=" + value + "\r\n");
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(value, lines[0].value);
}

TEST(RecordLineReader, LinesLongerThanOneReadAreWhole)
{
    const std::string value(200000, 'x');
    const auto lines = ReadLines("a=" + value + "\r\nb=" + value);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(value, lines[0].value);
    EXPECT_EQ(value, lines[1].value);
}

TEST(RecordLineReader, MissingFileDoesNotOpen)
{
    RecordLineReader reader;
    EXPECT_FALSE(reader.Open("no_such_folder_for_record_tests/Setup.Kvx"));
    RecordLine line;
    EXPECT_FALSE(reader.Next(line));
}

TEST(RecordLineReader, EmptyFileHasNoLines)
{
    EXPECT_TRUE(ReadLines("").empty());
    EXPECT_TRUE(ReadLines("\r\r\n\n  \r").empty());
    EXPECT_TRUE(ReadLines("[OnlyHeader]").empty());
}

#if defined(__GLIBC__)
namespace {

// A stream that gives its text and then fails, as a disk or network read can half way.
struct FailingSource {
    std::string text;
    std::size_t position = 0;
};

ssize_t ReadThenFail(void* cookie, char* buffer, std::size_t size)
{
    auto* source = static_cast<FailingSource*>(cookie);
    if (source->position >= source->text.size()) {
        errno = EIO;
        return -1;
    }
    const std::size_t count = std::min(size, source->text.size() - source->position);
    std::memcpy(buffer, source->text.data() + source->position, count);
    source->position += count;
    return static_cast<ssize_t>(count);
}

}

TEST(RecordLineReader, ReadErrorIsNotTheEndOfTheFile)
{
    FailingSource source{"[A]\rk1=v1\rk2=v"};
    cookie_io_functions_t functions = {ReadThenFail, nullptr, nullptr, nullptr};
    std::FILE* stream = fopencookie(&source, "rb", functions);
    ASSERT_NE(nullptr, stream);
    RecordLineReader reader;
    reader.Attach(stream);
    RecordLine line;
    ASSERT_TRUE(reader.Next(line));
    ExpectLine(line, "A", "k1", "v1");
    EXPECT_FALSE(reader.Next(line)) << "the cut line k2=v is not given";
    EXPECT_TRUE(reader.Failed());
}
#endif

TEST(RecordLineReader, RealEndOfFileIsNoFailure)
{
    TestFile file;
    ASSERT_TRUE(file.Write("[A]\rk=v"));
    RecordLineReader reader;
    ASSERT_TRUE(reader.Open(file.Path()));
    RecordLine line;
    EXPECT_TRUE(reader.Next(line));
    EXPECT_FALSE(reader.Next(line));
    EXPECT_FALSE(reader.Failed());
}
