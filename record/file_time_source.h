#pragma once

#include <cstdint>
#include <string>

// Where the removal policy learns a file's real last-write time. The Windows build reads it
// from the file system; tests give their own times.
class FileTimeSource {
public:
    virtual ~FileTimeSource() = default;
    // The file's last-write time in local time, as a calendar time to the second, made with
    // LocalTimeToCalendarTime so that it compares with ParseRecordDate. False when the file
    // cannot be opened.
    [[nodiscard]] virtual bool GetFileWriteTime(const std::string& path, int64_t& calendarTime) const = 0;
};
