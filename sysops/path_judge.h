#pragma once

#include <cstdint>
#include <string>

// The one judge of a folder that is about to be deleted, emptied or removed as a group. It
// judges the folder the system reaches, not the text it is given: the path is opened, links
// on the way are followed, and the handle names the folder ("\\?\C:\windows", "\\.\C:\windows"
// and "C:\WINDOWS\." are one folder). Refused: what does not resolve to a folder on a local
// drive, drive and volume roots, the system's folders, the profiles folder, every profile
// that Windows lists with its known folders, and every folder that holds one of these.

// Why a folder may not go; None when it may.
enum class PathRefusal { None, NotLocalFolder, Root, Protected, OtherUsersProfile };

// Which folder a path reached: two paths to one folder give one identity.
struct FolderIdentity {
    uint32_t volume = 0;
    uint64_t file = 0;
};

[[nodiscard]] inline bool operator==(const FolderIdentity& left, const FolderIdentity& right)
{
    return left.volume == right.volume && left.file == right.file;
}

struct FolderJudgement {
    PathRefusal refusal = PathRefusal::None;
    // Nothing is there; the text was judged as the system would resolve it.
    bool missing = false;
    // The folder as the system resolved it ("C:\App", no trailing backslash).
    std::string resolved;
    // The folder that was judged; only when it is there.
    FolderIdentity identity;

    [[nodiscard]] bool MayDelete() const { return refusal == PathRefusal::None && !missing; }
};

// The judgement of one path. The protected folders are found once per process.
[[nodiscard]] FolderJudgement JudgeFolder(const std::string& path);

// The report's words for a refusal: "refused as a protected path", "another user's profile".
[[nodiscard]] const char* RefusalReason(PathRefusal refusal);

// Why the folder at path may not go; empty when it may or is not there.
[[nodiscard]] std::string FolderRefusalReason(const std::string& path);

// The identity of the folder that holds the file (a running program, say); false when the
// folder cannot be opened.
[[nodiscard]] bool IdentifyFolderOf(const std::string& filePath, FolderIdentity& identity);
