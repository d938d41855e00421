#pragma once

#include "sysops/path_judge.h"

#include <cstdint>
#include <functional>
#include <string>

// The file-system primitives of the uninstall: silent and best effort. None of them shows a
// message; a file in use or a folder that is not empty simply stays, so that the uninstall
// goes on past single failures. Paths are absolute and in the ANSI code page.

// True when a file search for the path (wildcards allowed) finds at least one entry that
// is neither "." nor ".." nor a folder.
[[nodiscard]] bool FileExists(const std::string& path);

// True when the path has file attributes and the directory attribute is among them.
[[nodiscard]] bool FolderExists(const std::string& path);

class CheckedWay;

// What became of a file the uninstall deleted; error is the system's error code otherwise.
// Refused: a folder on the way is a link (throughLink), or the path is not a full path of a
// drive or share; nothing was touched, and nothing is to be tried again.
struct FileDeletion {
    enum Outcome { Deleted, Missing, Failed, Refused } outcome;
    unsigned long error = 0;
    bool throughLink = false;
};

// Deletes the file through a handle opened in its folder, when no folder on its way is a link
// (see CheckedWay); when that fails, clears read-only, hidden and system through the same
// handle and tries once more, unless the file is a link itself, whose attributes would be its
// target's. A link at the path is deleted as the link. way, when given, keeps the checked
// folders for the next file.
FileDeletion DeleteFileForced(const std::string& path, CheckedWay* way = nullptr);

// The same without the forced retry: a read-only file stays.
FileDeletion DeleteFileOnce(const std::string& path);

// Either of the two.
FileDeletion DeleteRecordedFile(const std::string& path, CheckedWay* way, bool forced);

// What became of a folder that was to go only when empty.
struct FolderRemoval {
    enum Outcome { Removed, Missing, NotEmpty, LinkKept, Failed, Refused } outcome;
    unsigned long error = 0;
    bool throughLink = false;
};

// Removes the folder through a handle opened in its parent when it is empty and no folder on
// its way is a link. A link at the path, where the handle would reach its target, is kept.
FolderRemoval RemoveEmptyFolder(const std::string& path, CheckedWay* way = nullptr);

// What a tree deletion met besides what it removed: the judge's refusal (see
// sysops/path_judge.h), or a tree deeper than the walk goes, which is left as it is.
struct TreeReport {
    PathRefusal refusal = PathRefusal::None;
    bool tooDeep = false;
};

// Deletes everything inside the folder, depth first, and leaves the folder itself. Links
// (junctions, symbolic links) inside are removed as links, never followed, even when one
// replaces a subfolder while the walk runs. A folder the judge refuses (JudgeFolder) is
// never emptied.
void DeleteFolderContents(const std::string& path);

// Deletes the folder's contents and then the folder, with the refusals of
// DeleteFolderContents. A path that is a link itself loses only the link. True when the
// folder is gone at the end (a missing folder counts); false when it was refused or
// something stayed. report, when given, tells why.
bool DeleteFolderTree(const std::string& path, TreeReport* report = nullptr);

// DeleteFolderTree of a folder judged before (JudgeFolder of the same path): only when the
// judge let it go and the path still reaches that very folder.
bool DeleteJudgedFolderTree(const std::string& path, const FolderJudgement& judgement);

// Removes a folder tree only where it holds no files: subfolders without files go even when a
// sibling holds a file, while a folder that holds a file, and every folder above it, stays.
// No file is ever deleted. A link inside counts as content and is never followed; a link
// given as the path is left alone. The refusals of DeleteFolderContents apply. pump is
// called once per entry, so that a page stays responsive. True for an empty path and when
// the folder is gone at the end.
bool RemoveEmptyTree(const std::string& path, const std::function<void()>& pump = {}, TreeReport* report = nullptr);

// False when the folder holds any entry or cannot be listed; true for an empty or missing
// folder. An empty path is false.
[[nodiscard]] bool IsFolderEmpty(const std::string& path);

// Creates every missing folder of the path, `\` and `/` alike separating them; true when
// all exist at the end.
[[nodiscard]] bool CreateFolderPath(const std::string& path);

// Writes the text's bytes as they are, replacing the content or, with append, adding to it;
// the file is created when missing. False when it cannot be opened or written.
[[nodiscard]] bool WriteTextFile(const std::string& path, const std::string& text, bool append);

// Appends the file's content to text in chunks of up to 1024 bytes, each cut at its first
// zero byte. False when the file cannot be opened or read.
[[nodiscard]] bool ReadTextFile(const std::string& path, std::string& text);

// The file's last-write time in local time as a calendar time (mktime, one-second
// resolution), made the same way as the record's ModifyDate is read so that the two
// compare. False when the file cannot be opened for shared reading.
[[nodiscard]] bool GetFileWriteTime(const std::string& path, int64_t& calendarTime);

// True for folders that no uninstall may delete as a whole, whatever a damaged record says:
// whatever JudgeFolder refuses.
[[nodiscard]] bool IsProtectedSystemFolder(const std::string& folder);
