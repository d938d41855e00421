#include "sysops/shell_objects.h"

#include "base/path_text.h"
#include "base/text_compare.h"
#include "record/record_fields.h"
#include "sysops/file_ops.h"
#include "sysops/path_judge.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

namespace {

// Deleted item or folder, with a flush so that the shell has seen it before the call returns.
constexpr LONG kDeletedEvents = SHCNE_DELETE | SHCNE_RMDIR;
constexpr LONG kParentChangedEvents = static_cast<LONG>(SHCNE_UPDATEDIR | SHCNE_INTERRUPT);
constexpr UINT kPathFlags = SHCNF_PATHA | SHCNF_FLUSH;

void NotifyShell(const std::string& path)
{
    SHChangeNotify(kDeletedEvents, kPathFlags, path.c_str(), nullptr);
    const auto slash = FindLastBackslash(path);
    if (slash != std::string::npos)
        SHChangeNotify(kParentChangedEvents, kPathFlags, path.substr(0, slash).c_str(), nullptr);
}

}

bool RemoveShellObject(const std::string& item, ShellNotification notification)
{
    std::vector<std::string> fields;
    if (!SplitRecordFields(item, 2, fields))
        return false;
    const std::string& type = fields[0];
    const std::string& path = fields[1];
    if (EqualsNoCase(type, "Group")) {
        // A group is never deleted as a tree: the system removes a folder only when it is
        // empty, so a shortcut the user added, or one the listing could not see, keeps it.
        // It goes through a handle of its checked parent, never through a link on its way.
        if (JudgeFolder(path).MayDelete())
            (void)RemoveEmptyFolder(path, nullptr);
    } else if (EqualsNoCase(type, "Shortcut")) {
        (void)DeleteFileOnce(path); // never through a link on its way
    } else {
        return false;
    }
    if (notification == ShellNotification::Send)
        NotifyShell(path);
    return true;
}
