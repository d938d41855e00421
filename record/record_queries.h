#pragma once

#include "record/file_time_source.h"
#include "record/install_record.h"

#include <string>
#include <vector>

// The lists the uninstall run works through. Each query appends to the caller's list, keeps
// the record's order and keeps duplicates; items that lack the fields a query needs are
// skipped or give an empty text, which names no file.

// FileName of every copied file the removal policy lets go (empty when the item has none).
void ListFilesToRemove(const InstallRecord& record, const FileTimeSource& fileTimes, std::vector<std::string>& files);
// DirName of every created folder that has a non-empty one.
void ListFolders(const InstallRecord& record, std::vector<std::string>& folders);
// "Type,Root,Path,Name" of every registry item that has all four fields.
void ListRegistryItems(const InstallRecord& record, std::vector<std::string>& items);
// "Type,Path" of every shell object that has both fields.
void ListShellObjects(const InstallRecord& record, std::vector<std::string>& objects);
// FileName and RegType of every copied file whose RegType is above 0. No removal policy
// applies: a server is unregistered even when its file is kept.
void ListComServers(const InstallRecord& record, std::vector<std::string>& paths, std::vector<unsigned>& types);

// Why the removal policy removes or keeps a copied file, in the order of the log's words.
enum class FilePolicyReason {
    NoPolicy,          // no Uninstall field: removed
    AlwaysRemoved,     // the policy removes it whatever the file looks like
    AlwaysKept,        // policy 1
    KeptForUpdateType, // policies 0, 4 and 5 keep files of some update types
    Unchanged,         // policies 3 and 5: the file has the recorded time
    NoRecordedDate,    // policies 3 and 5: nothing recorded, so removed
    Changed,           // policies 3 and 5: another time, so kept
    Unreadable,        // policies 3 and 5: the file (or the date) cannot be read, so kept
    NoFileName,        // policies 3 and 5: nothing to compare, so kept
    UnknownPolicy,     // any Uninstall value beyond 5 keeps the file
};

struct FileRemovalDecision {
    bool remove = true;
    FilePolicyReason reason = FilePolicyReason::NoPolicy;
    int policy = 0;
    bool hasUpdateType = false;
    int updateType = 0;
};

struct KeptFile {
    std::string path;
    FileRemovalDecision decision;
};

// FileName of every copied file, into files when the removal policy lets it go and into
// keptFiles, with the decision, when it keeps it: one policy check per file.
void ListFilesByPolicy(const InstallRecord& record, const FileTimeSource& fileTimes, std::vector<std::string>& files,
                       std::vector<FileRemovalDecision>& removeDecisions, std::vector<KeptFile>& keptFiles);

// The removal policy of one copied file, from its Uninstall and UpdateType fields; policies
// 3 and 5 remove a file only when it is unchanged since the installation.
[[nodiscard]] FileRemovalDecision DecideFileRemoval(const RecordItem& item, const FileTimeSource& fileTimes);
[[nodiscard]] bool ShouldRemoveFile(const RecordItem& item, const FileTimeSource& fileTimes);
// "removal policy 3: changed since the installation": the decision in the words of the log.
[[nodiscard]] std::string DescribeFileRemoval(const FileRemovalDecision& decision);
// The unchanged test of policies 3 and 5: Unchanged, NoRecordedDate (both remove), Changed,
// Unreadable or NoFileName (all keep).
[[nodiscard]] FilePolicyReason CompareWithInstalledFile(const RecordItem& item, const FileTimeSource& fileTimes);
// The file still carries the last-write time recorded at installation, to the second.
[[nodiscard]] bool IsFileUnchanged(const RecordItem& item, const FileTimeSource& fileTimes);

// RegType bit values.
inline constexpr unsigned ComServerBit = 1;
inline constexpr unsigned ServiceBit = 2;

// A COM-list entry whose service is stopped and deleted before the files go.
[[nodiscard]] inline bool IsServiceCandidate(unsigned type) { return type > 0 && (type & ServiceBit) != 0; }

// The extension is the text after the last '.' of the whole path (so "App.old\README" has
// "old\README"); a path with no '.', with '.' first or '.' last has none.
[[nodiscard]] std::string GetExtension(const std::string& path);
// The extension is "exe" in any case: a program that may be running and is ended first.
[[nodiscard]] bool HasExeExtension(const std::string& path);

// How many entries the service and running-application steps will handle.
[[nodiscard]] std::size_t CountServiceCandidates(const std::vector<unsigned>& types);
[[nodiscard]] std::size_t CountExeFiles(const std::vector<std::string>& files);
