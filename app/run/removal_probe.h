#pragma once

#include <string>
#include <unordered_set>

// What the uninstall's real run and its preview both look up before they decide: whether an
// item is there, and what in a folder would keep the folder.

// Full paths compared without case: what the run (or the preview) has removed so far.
class PathSet {
public:
    void Insert(const std::string& path);
    [[nodiscard]] bool Contains(const std::string& path) const;

private:
    std::unordered_set<std::string> m_folded;
};

// A link (junction, symbolic link) is at the path.
[[nodiscard]] bool IsLinkPresent(const std::string& path);

// A file, not a folder, is at the path.
[[nodiscard]] bool IsFilePresent(const std::string& path);

// Another program holds the file open and does not let it be deleted: it cannot go now.
[[nodiscard]] bool IsFileInUse(const std::string& path);

// What a folder that cannot be listed is said to hold.
inline constexpr const char* kUnlistedEntries = "entries that could not be listed";

// The name of the first entry of the folder that is not in going (null: any entry);
// kUnlistedEntries when the folder is there but cannot be listed; empty when there is none.
[[nodiscard]] std::string FirstEntryStaying(const std::string& folder, const PathSet* going);

// The path of the first file (or link) anywhere under the folder that is not in going: what
// keeps a tree whose empty folders are removed. Empty when there is none.
[[nodiscard]] std::string FirstFileStayingInTree(const std::string& folder, const PathSet* going);

// "access denied", "in use by another program", "system error 87".
[[nodiscard]] std::string SystemErrorReason(unsigned long error);
