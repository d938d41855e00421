#include "app/run/final_steps.h"

#include "base/path_text.h"
#include "record/install_record.h"
#include "sysops/file_ops.h"
#include "sysops/message_pump.h"
#include "sysops/reg_key.h"

#include <windows.h>

namespace {

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

}

bool RemoveUninstallEntry(const InstallRecord& record, EntryRemoval* outcome)
{
    // A 32-bit installer wrote the entry into the 32-bit view; it is removed from the view
    // it is found in.
    const std::string guid = record.GetGUID();
    RegKey entry;
    const bool present = !guid.empty()
        && entry.OpenInEitherView(HKEY_LOCAL_MACHINE, JoinPath(kUninstallKey, guid), KEY_READ);
    const REGSAM view = present ? entry.ViewAccess() : 0;
    entry.Close();
    EntryRemoval result = guid.empty() ? EntryRemoval::NoGuid : EntryRemoval::Missing;
    RegKey uninstallKey;
    const bool opened = uninstallKey.OpenInView(HKEY_LOCAL_MACHINE, kUninstallKey,
                                                KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, view);
    // Deleting an empty subkey name would delete the opened key, that is every application's
    // uninstall entry at once; a record without a GUID names no entry.
    if (opened && !guid.empty()) {
        const bool deleted = uninstallKey.DeleteSubkey(guid);
        if (present)
            result = deleted ? EntryRemoval::Removed : EntryRemoval::Failed;
    } else if (present) {
        result = EntryRemoval::Failed;
    }
    if (outcome)
        *outcome = result;
    return opened;
}

bool HasUninstallEntry(const InstallRecord& record)
{
    const std::string guid = record.GetGUID();
    RegKey entry;
    return !guid.empty() && entry.OpenInEitherView(HKEY_LOCAL_MACHINE, JoinPath(kUninstallKey, guid), KEY_READ);
}

bool RemoveDescFolder(const InstallRecord& record)
{
    const std::string descPath = record.GetDescPath();
    if (descPath.empty())
        return false;
    return RemoveEmptyTree(descPath, PumpWaitingMessages); // a deep tree must not freeze the page
}
