#include "sysops/reg_key.h"

#include "base/text_compare.h"
#include "record/record_fields.h"
#include "sysops/shared_keys.h"

#include <vector>

namespace {

constexpr REGSAM kViews[] = {0, KEY_WOW64_32KEY};

bool HoldsItem(const RegKey& key, bool isKey, const std::string& name)
{
    if (isKey) {
        RegKey subkey;
        return subkey.OpenInView(key.Handle(), name, KEY_READ, key.ViewAccess());
    }
    return RegQueryValueExA(key.Handle(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}

namespace {

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

bool RemoveRegistryItem(const std::string& text)
{
    ParsedRegistryItem item;
    if (!ParseRegistryItem(text, item) || IsShared(item))
        return false;
    // The 64-bit view first; a 32-bit installer's keys live in the 32-bit view.
    bool opened = false;
    for (REGSAM view : kViews) {
        RegKey key;
        if (!key.OpenInView(item.root, item.path, kDeleteAccess, view))
            continue;
        opened = true;
        if (!HoldsItem(key, item.isKey, item.name))
            continue;
        // The outcome of the deletion is not the caller's concern: a key or value that is
        // already gone counts as removed.
        if (item.isKey)
            (void)key.DeleteKeyTree(item.name);
        else
            (void)key.DeleteValue(item.name);
        break;
    }
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
