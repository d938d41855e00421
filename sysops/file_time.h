#pragma once

#include <windows.h>

#include <cstdint>

// A file's last-write time as the removal policy compares it: converted to local time and
// made a calendar time to the second through mktime, as the record's dates are read.
[[nodiscard]] bool WriteTimeToCalendar(const FILETIME& written, int64_t& calendarTime);
