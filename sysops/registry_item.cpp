#include "sysops/reg_key.h"

#include "base/text_compare.h"
#include "record/record_fields.h"

#include <vector>

bool RemoveRegistryItem(const std::string& item)
{
    std::vector<std::string> fields;
    if (!SplitRecordFields(item, 4, fields))
        return false;
    const std::string& type = fields[0];
    const std::string& root = fields[1];
    const std::string& path = fields[2];
    const std::string& name = fields[3];
    RegKey key;
    if (!key.Open(RegKey::RootFromName(root), path, kDeleteAccess))
        return false;
    // The outcome of the deletion is not the caller's concern: a key or value that is
    // already gone counts as removed.
    if (EqualsNoCase(type, "Key"))
        (void)key.DeleteKeyTree(name);
    else
        (void)key.DeleteValue(name);
    return true;
}
