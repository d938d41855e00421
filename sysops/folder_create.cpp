#include "sysops/file_ops.h"

#include "base/path_components.h"
#include "base/path_text.h"

#include <windows.h>

#include <vector>

namespace {

// Where the creation starts: the drive ("C:") or, for a share path, "\\server\share",
// which can never be created and has to exist. Sets next to the first component to create.
std::string StartingPrefix(const std::vector<std::string>& components, std::size_t& next)
{
    const bool share = components.size() >= 3 && components[0].empty() && components[1].empty() && !components[2].empty();
    if (!share) {
        next = 1;
        return components[0];
    }
    next = components.size() >= 4 ? 4 : 3;
    return next == 4 ? "\\\\" + components[2] + "\\" + components[3] : "\\\\" + components[2];
}

bool MakeFolder(const std::string& path)
{
    return FolderExists(path) || CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}

bool CreateFolderPath(const std::string& path)
{
    if (FolderExists(path))
        return true;
    const std::vector<std::string> components = SplitPathComponents(path);
    std::size_t next = 0;
    std::string prefix = StartingPrefix(components, next);
    for (; next < components.size(); ++next) {
        if (components[next].empty())
            continue;
        prefix = JoinPath(prefix, components[next]);
        if (!MakeFolder(prefix))
            return false;
    }
    // A file in the way, or a path with nothing to create, is not a folder.
    return FolderExists(prefix);
}
