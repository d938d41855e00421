#pragma once

#include <cstdint>
#include <functional>
#include <string>

// One entry of a folder listing.
struct FolderEntry {
    std::string name;
    uint32_t attributes = 0;
    uint64_t lastWrite = 0; // 100 ns since 1601, as the listing gives it
};

// What the visitor tells the walk.
enum class WalkStep { Continue, Stop };

// Lists "%s\*.*" of the folder, "." and ".." left out, and hands each entry to the visitor
// until it says Stop. The folder is taken as it is; callers remove a trailing backslash.
// False when the folder cannot be listed.
bool ForEachFolderEntry(const std::string& folder, const std::function<WalkStep(const FolderEntry&)>& visit);

// Links (junctions, symbolic links) carry the reparse-point attribute; they are removed as
// links and never followed.
[[nodiscard]] inline bool IsLinkEntry(uint32_t attributes) { return (attributes & 0x400) != 0; }
