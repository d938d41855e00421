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

bool HoldsItem(const RegKey& key, bool isKey, const std::string& name)
{
    if (isKey)
        return HoldsKey(key, name);
    return RegQueryValueExA(key.Handle(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

struct ParsedRegistryItem {
    bool isKey = false;
    HKEY root = nullptr;
    std::string path;
    std::string name;
};

bool ParseRegistryItem(const std::string& text, ParsedRegistryItem& item)
{
    std::vector<std::string> fields;
    if (!SplitRecordFields(text, 4, fields))
        return false;
    item.isKey = EqualsNoCase(fields[0], "Key");
    item.root = RegKey::RootFromName(fields[1]);
    item.path = fields[2];
    item.name = fields[3];
    return true;
}

bool IsShared(const ParsedRegistryItem& item) { return item.isKey && IsSharedRegistryKey(item.root, item.path + "\\" + item.name); }

}

bool RemoveRegistryItem(const std::string& text, RegistryRemoval* outcome)
{
    RegistryRemoval result = RegistryRemoval::Missing;
    ParsedRegistryItem item;
    bool opened = false;
    if (!ParseRegistryItem(text, item)) {
        result = RegistryRemoval::Malformed;
    } else if (IsShared(item)) {
        result = RegistryRemoval::Shared;
    } else {
        // The 64-bit view first; a 32-bit installer's keys live in the 32-bit view.
        for (REGSAM view : kViews) {
            RegKey key;
            if (!key.OpenInView(item.root, item.path, kDeleteAccess, view))
                continue;
            opened = true;
            // A value is deleted straight away, and only its absence sends the search on to
            // the next view: asking first would cost one more trip to the registry per value.
            if (!item.isKey) {
                const LONG status = RegDeleteValueA(key.Handle(), item.name.c_str());
                if (status == ERROR_FILE_NOT_FOUND)
                    continue;
                result = status == ERROR_SUCCESS ? RegistryRemoval::Removed : RegistryRemoval::Failed;
                break;
            }
            if (!HoldsKey(key, item.name))
                continue;
            result = key.DeleteKeyTree(item.name) ? RegistryRemoval::Removed : RegistryRemoval::Failed;
            break;
        }
    }
    if (outcome)
        *outcome = result;
    return opened;
}

RegistryItemPresence FindRegistryItem(const std::string& text)
{
    ParsedRegistryItem item;
    if (!ParseRegistryItem(text, item) || !item.root)
        return RegistryItemPresence::Malformed;
    if (IsShared(item))
        return RegistryItemPresence::Shared;
    for (REGSAM view : kViews) {
        RegKey key;
        if (key.OpenInView(item.root, item.path, KEY_READ, view) && HoldsItem(key, item.isKey, item.name))
            return RegistryItemPresence::Present;
    }
    return RegistryItemPresence::Missing;
}
