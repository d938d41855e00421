#include "record/record_date.h"

#include <gtest/gtest.h>

namespace {

int64_t LocalTime(int year, int month, int day, int hour, int minute, int second)
{
    int64_t time = 0;
    EXPECT_TRUE(LocalTimeToCalendarTime(year, month, day, hour, minute, second, time));
    return time;
}

void ExpectDate(const std::string& text, int64_t expected)
{
    SCOPED_TRACE("date text \"" + text + "\"");
    int64_t parsed = 0;
    ASSERT_TRUE(ParseRecordDate(text, parsed));
    EXPECT_EQ(expected, parsed);
}

}

TEST(RecordDate, ReadsLocalDateAndTime)
{
    ExpectDate("2023-7-4 9:5:0", LocalTime(2023, 7, 4, 9, 5, 0));
    ExpectDate("2023-07-04 09:05:00", LocalTime(2023, 7, 4, 9, 5, 0));
    ExpectDate("  2023-7-4 \t 9:5:1", LocalTime(2023, 7, 4, 9, 5, 1));
}

TEST(RecordDate, ShortYearsAndOutOfRangeMonthsAndDays)
{
    ExpectDate("9-2-30 1:2:3", LocalTime(2009, 3, 2, 1, 2, 3)); // the 30th of February is the 2nd of March
    ExpectDate("99-12-31 23:59:59", LocalTime(2099, 12, 31, 23, 59, 59));
    ExpectDate("2023-13-32 0:0:0", LocalTime(2023, 1, 1, 0, 0, 0));
    ExpectDate("2023-0-0 0:0:0", LocalTime(2023, 1, 1, 0, 0, 0));
    ExpectDate("2023-5-10 25:0:0", LocalTime(2023, 5, 11, 1, 0, 0)); // hours are taken as they are
}

TEST(RecordDate, ScanStopsWhereTheTextStopsMatching)
{
    ExpectDate("", LocalTime(2000, 1, 1, 0, 0, 0));
    ExpectDate("2023-7", LocalTime(2023, 7, 1, 0, 0, 0));
    ExpectDate("2023/7/4 1:2:3", LocalTime(2023, 1, 1, 0, 0, 0));
    ExpectDate("2023-7-4 1-2-3", LocalTime(2023, 7, 4, 1, 0, 0));
    ExpectDate("2023-7-4T1:2:3", LocalTime(2023, 7, 4, 0, 0, 0));
    ExpectDate("2023-7-49:5:1", LocalTime(2023, 7, 1, 0, 0, 0)); // day 49 is out of range, ':' ends the scan
    ExpectDate("garbage", LocalTime(2000, 1, 1, 0, 0, 0));
}

TEST(RecordDate, FormattedDateReadsBack)
{
    const int64_t time = LocalTime(2021, 11, 28, 17, 3, 9);
    EXPECT_EQ("2021-11-28 17:3:9", FormatRecordDate(time));
    ExpectDate(FormatRecordDate(time), time);
}

TEST(RecordDate, HugeNumbersAreRefusedWithoutOverflow)
{
    // Each number is held at the 32-bit limit; the date it makes lies beyond any calendar time.
    int64_t time = 0;
    EXPECT_FALSE(ParseRecordDate("99999999999-99999999999-99999999999 99999999999:99999999999:99999999999", time));
    EXPECT_FALSE(ParseRecordDate("-99999999999--5--5 -99999999999:-1:-1", time));
    EXPECT_FALSE(ParseRecordDate("2147483647-1-1 2147483647:2147483647:2147483647", time));
    EXPECT_EQ("", FormatRecordDate(INT64_MAX));
    EXPECT_EQ("", FormatRecordDate(INT64_MIN));
}
