#pragma once

#include <string>
#include <vector>

// The text side of judging a folder before it is deleted: which form a path is written in,
// the drive path behind the long and device prefixes, and whether one path holds another.
// What a path resolves to is asked of the system (sysops/path_judge.h); these only read text.

// How a path is written.
enum class PathForm {
    DrivePath,  // "C:\App", also "\\?\C:\App" and "\\.\C:\App"
    Network,    // "\\server\share\App", "\\?\UNC\server\share\App", "\\localhost\C$\App"
    Device,     // "\\?\Volume{...}\App", "\\?\GLOBALROOT\Device\...": only the system can resolve it
    Relative,   // "App", "C:App", "\App": resolved against a current folder
};

[[nodiscard]] PathForm ClassifyPathForm(const std::string& path);

// "C:\App" for "\\?\C:\App" and "\\.\C:\App", "\\server\share" for "\\?\UNC\server\share";
// any other text as it is.
[[nodiscard]] std::string WithoutDevicePrefix(const std::string& path);

// True when folder is container or lies inside it, compared without case by whole names;
// neither may end in a backslash ("C:\" compares as "C:").
[[nodiscard]] bool IsSameOrInside(const std::string& folder, const std::string& container);

// What protects a folder from deletion as a tree.
enum class Protection {
    None,
    System,             // a folder of the system or of all users, a user's own folders
    OtherUsersProfile,  // a profile of another account, or one of its known folders
};

// Folders that must never be deleted, each with what protects it. A folder is protected when
// it is one of them or holds one: deleting C:\Users would take every profile with it.
class ProtectedFolderList {
public:
    // The folder without a trailing backslash, in the resolved form the judge compares.
    void Add(const std::string& folder, Protection protection);
    [[nodiscard]] Protection Find(const std::string& folder) const;
    [[nodiscard]] std::size_t Size() const { return m_folders.size(); }

private:
    struct Entry {
        std::string folded;
        Protection protection;
    };
    std::vector<Entry> m_folders;
};

// The folders that every profile has below it; each is protected in another user's profile
// as its own known folders are in the running user's.
[[nodiscard]] const std::vector<const char*>& ProfileKnownFolders();
