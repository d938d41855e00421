#include "sysops/reg_key.h"

#include "base/text_compare.h"
#include "record/record_fields.h"
#include "sysops/shared_keys.h"

#include <vector>

namespace {

constexpr REGSAM kViews[] = {0, KEY_WOW64_32KEY};

bool HoldsKey(const RegKey& key, const std::string& name)
{
    RegKey subkey;
    return subkey.OpenInView(key.Handle(), name, KEY_READ, key.ViewAccess());
}

}

bool RemoveRegistryItem(const std::string& item)
{
    std::vector<std::string> fields;
    if (!SplitRecordFields(item, 4, fields))
        return false;
    const std::string& type = fields[0];
    const std::string& root = fields[1];
    const std::string& path = fields[2];
    const std::string& name = fields[3];
    const bool isKey = EqualsNoCase(type, "Key");
    const HKEY rootKey = RegKey::RootFromName(root);
    if (isKey && IsSharedRegistryKey(rootKey, path + "\\" + name))
        return false;
    // The 64-bit view first; a 32-bit installer's keys live in the 32-bit view.
    bool opened = false;
    for (REGSAM view : kViews) {
        RegKey key;
        if (!key.OpenInView(rootKey, path, kDeleteAccess, view))
            continue;
        opened = true;
        // A value is deleted straight away, and only its absence sends the search on to the
        // next view: asking first would cost one more trip to the registry per value.
        if (!isKey) {
            if (RegDeleteValueA(key.Handle(), name.c_str()) == ERROR_FILE_NOT_FOUND)
                continue;
            break;
        }
        if (!HoldsKey(key, name))
            continue;
        // The outcome of the deletion is not the caller's concern: a key that is already gone
        // counts as removed.
        (void)key.DeleteKeyTree(name);
        break;
    }
    return opened;
}
