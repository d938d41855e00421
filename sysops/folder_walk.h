#pragma once

#include "sysops/path_judge.h"

#include <functional>
#include <string>

// The one walk over a folder tree that removes things. It goes through handles rather than
// paths: each entry of a listing is opened relative to its folder's handle without following
// a link, what was opened is checked, and descent and deletion go through that handle. An
// entry swapped for a junction or symbolic link after the listing is thus treated as the link
// it now is, and its target is never reached.

// Called once per entry, so that a page can keep dispatching its messages during a long walk.
using WalkPump = std::function<void()>;

// What the walk does with a tree.
enum class TreeRemoval {
    Everything,    // files forced (read-only cleared), links removed as links, folders after their contents
    EmptyFolders,  // only folders that hold no file or link anywhere below them
};

// How deep the walk goes: far deeper than any installation, and far inside the stack, at
// about half a kilobyte a level. What lies deeper stays, and the walk says so.
inline constexpr int kWalkDepthLimit = 512;

struct TreeRemovalResult {
    bool emptied = false;  // nothing of the tree stayed, the folder included when removeRoot is set
    bool tooDeep = false;  // a folder deeper than kWalkDepthLimit was left
};

// Walks the folder (taken as it is, without a trailing backslash) and removes what the kind of
// removal allows. With removeRoot the folder itself goes too when nothing stayed in it. A
// folder that is a link itself loses only the link, and only with Everything; a folder reached
// through a link on its way is left alone (see CheckedWay). The folder opened must be the one
// judged: one swapped in since is left alone.
TreeRemovalResult RemoveTree(const std::string& folder, TreeRemoval removal, bool removeRoot, const WalkPump& pump,
                             const FolderIdentity& judged);

// For tests only: a lower depth limit for the walks that follow (0: kWalkDepthLimit again), so
// that a test need not build a tree hundreds of folders deep.
void SetWalkDepthLimitForTests(int limit);

// For tests only: called between the listing of a folder and the opening of each entry, with
// the folder's path and the entry's name, so that a test can swap the entry in that moment.
void SetWalkSeamForTests(std::function<void(const std::string& folder, const std::string& name)> seam);
