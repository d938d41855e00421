#include "record/record_date.h"

#include "record/decimal_text.h"

#include <climits>
#include <cstdio>
#include <ctime>

namespace {

constexpr int DateFieldCount = 6;
// The literal that follows each number of "%d-%d-%d %d:%d:%d"; ' ' matches any white space.
constexpr char Separators[DateFieldCount] = {'-', '-', ' ', ':', ':', '\0'};

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Fills numbers as far as the text matches the format, the way sscanf does.
void ScanDateFields(const std::string& text, int (&numbers)[DateFieldCount])
{
    std::string::size_type position = 0;
    for (int i = 0; i < DateFieldCount; ++i) {
        if (!ScanDecimal(text, position, numbers[i]))
            return;
        const char separator = Separators[i];
        if (separator == ' ') {
            while (position < text.size() && IsWhiteSpace(text[position]))
                ++position;
        } else if (separator != '\0') {
            if (position >= text.size() || text[position] != separator)
                return;
            ++position;
        }
    }
}

int WithinOrOne(int value, int low, int high) { return (value < low || value > high) ? 1 : value; }

}

bool LocalTimeToCalendarTime(int year, int month, int day, int hour, int minute, int second, int64_t& calendarTime)
{
    std::tm local{};
    // Years so large that tm_year would overflow cannot be represented anyway.
    if (year < INT_MIN + 1900)
        return false;
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1; // the same daylight-saving rule as the clock had at that time
    const std::time_t result = std::mktime(&local);
    if (result == static_cast<std::time_t>(-1))
        return false;
    calendarTime = static_cast<int64_t>(result);
    return true;
}

bool ParseRecordDate(const std::string& text, int64_t& calendarTime)
{
    int numbers[DateFieldCount] = {};
    ScanDateFields(text, numbers);
    int year = numbers[0];
    if (year < 100)
        year += 2000;
    const int month = WithinOrOne(numbers[1], 1, 12);
    const int day = WithinOrOne(numbers[2], 1, 31);
    return LocalTimeToCalendarTime(year, month, day, numbers[3], numbers[4], numbers[5], calendarTime);
}

std::string FormatRecordDate(int64_t calendarTime)
{
    const std::time_t time = static_cast<std::time_t>(calendarTime);
    if (static_cast<int64_t>(time) != calendarTime)
        return {};
    const std::tm* local = std::localtime(&time);
    if (!local)
        return {};
    char text[96];
    std::snprintf(text, sizeof text, "%lld-%d-%d %d:%d:%d", static_cast<long long>(local->tm_year) + 1900,
                  local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min, local->tm_sec);
    return text;
}
