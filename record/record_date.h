#pragma once

#include <cstdint>
#include <string>

// A file's last-write time as the record keeps it: local time written "%d-%d-%d %d:%d:%d"
// (year-month-day hour:minute:second), compared as calendar times to the second.

// Reads the text like the scan of that format: each number starts at 0 and keeps it when
// the text runs out or stops matching. A year below 100 gets 2000 added; a month outside 1
// to 12 and a day outside 1 to 31 become 1; hour, minute and second are taken as they are,
// so mktime decides what an impossible date becomes (the 30th of February is the 2nd of
// March). False when mktime cannot represent the result.
[[nodiscard]] bool ParseRecordDate(const std::string& text, int64_t& calendarTime);

// The local time of a calendar time in the same form, e.g. "2023-7-4 9:5:0"; empty when
// the time cannot be converted.
[[nodiscard]] std::string FormatRecordDate(int64_t calendarTime);

// The calendar time of a local date and time through mktime, which ParseRecordDate uses
// too; the platform's file-time source converts a file's local last-write time with it so
// that both sides of the comparison are made the same way.
[[nodiscard]] bool LocalTimeToCalendarTime(int year, int month, int day, int hour, int minute, int second,
                                           int64_t& calendarTime);
