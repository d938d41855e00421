#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

// Last-write times of many files, read one folder listing at a time: the removal policy asks
// for the time of every file it tests for changes, and a listing gives the times of all files
// of a folder for the cost of opening one. The answers are those of GetFileWriteTime; a name
// the listing does not show as a plain file (missing, a folder, a link, another spelling) is
// asked of GetFileWriteTime itself. The listings are kept for the life of the object, which
// therefore serves one run's questions, asked before anything is removed.
class ListedFileTimes {
public:
    [[nodiscard]] bool GetFileWriteTime(const std::string& path, int64_t& calendarTime);

private:
    // The plain files of one folder by upper-cased name: their last-write times, 100 ns since
    // 1601, as the listing gave them.
    using FolderTimes = std::unordered_map<std::string, uint64_t>;

    const FolderTimes& Listing(const std::string& folder);

    std::unordered_map<std::string, FolderTimes> m_folders;
};
