#include "sysops/listed_file_times.h"

#include "base/path_text.h"
#include "sysops/file_ops.h"
#include "sysops/file_time.h"
#include "sysops/folder_entries.h"

#include <windows.h>


namespace {

// Names and folders compare as the file system compares them, without regard to case.
std::string UpperCase(std::string text)
{
    if (!text.empty())
        CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool IsPlainFile(DWORD attributes)
{
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

}

const ListedFileTimes::FolderTimes& ListedFileTimes::Listing(const std::string& folder)
{
    const std::string key = UpperCase(folder);
    const auto known = m_folders.find(key);
    if (known != m_folders.end())
        return known->second;
    FolderTimes& times = m_folders[key];
    (void)ForEachFolderEntry(folder, [&times](const FolderEntry& entry) {
        if (IsPlainFile(entry.attributes))
            times[UpperCase(entry.name)] = entry.lastWrite;
        return WalkStep::Continue;
    });
    return times;
}

bool ListedFileTimes::GetFileWriteTime(const std::string& path, int64_t& calendarTime)
{
    const std::string folder = GetFolderPart(path);
    const std::string name = GetFileNamePart(path);
    if (!folder.empty() && name != path) {
        const FolderTimes& times = Listing(folder);
        const auto listed = times.find(UpperCase(name));
        if (listed != times.end()) {
            FILETIME written;
            written.dwLowDateTime = static_cast<DWORD>(listed->second);
            written.dwHighDateTime = static_cast<DWORD>(listed->second >> 32);
            return WriteTimeToCalendar(written, calendarTime);
        }
    }
    return ::GetFileWriteTime(path, calendarTime);
}
