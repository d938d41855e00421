#include "sysops/file_ops.h"
#include "sysops/file_time.h"

#include <windows.h>

#include <ctime>

namespace {

// The same conversion as the record's dates: the local broken-down time through mktime,
// daylight saving left for mktime to decide.
bool LocalSystemTimeToCalendar(const SYSTEMTIME& local, int64_t& calendarTime)
{
    std::tm broken = {};
    broken.tm_year = local.wYear - 1900;
    broken.tm_mon = local.wMonth - 1;
    broken.tm_mday = local.wDay;
    broken.tm_hour = local.wHour;
    broken.tm_min = local.wMinute;
    broken.tm_sec = local.wSecond;
    broken.tm_isdst = -1;
    const std::time_t made = std::mktime(&broken);
    if (made == static_cast<std::time_t>(-1))
        return false;
    calendarTime = static_cast<int64_t>(made);
    return true;
}

}

bool GetFileWriteTime(const std::string& path, int64_t& calendarTime)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written = {};
    const bool read = GetFileTime(file, nullptr, nullptr, &written) != FALSE;
    CloseHandle(file);
    return read && WriteTimeToCalendar(written, calendarTime);
}

bool WriteTimeToCalendar(const FILETIME& written, int64_t& calendarTime)
{
    FILETIME local = {};
    SYSTEMTIME broken = {};
    return FileTimeToLocalFileTime(&written, &local) && FileTimeToSystemTime(&local, &broken)
        && LocalSystemTimeToCalendar(broken, calendarTime);
}
