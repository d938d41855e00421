#include "sysops/shared_keys.h"

#include "base/path_text.h"
#include "base/text_compare.h"

#include <vector>

namespace {

struct SharedKey {
    HKEY root;
    const char* path;
};

// Keys shared by every program; a key above one of them is shared too. HKEY_CLASSES_ROOT is
// the merged view of the machine's and the user's Software\Classes.
const SharedKey kSharedKeys[] = {
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\CLSID"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Interface"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\TypeLib"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\AppID"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Policies"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Classes\\CLSID"},
    {HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services"},
    {HKEY_LOCAL_MACHINE, "HARDWARE"},
    {HKEY_LOCAL_MACHINE, "SAM"},
    {HKEY_LOCAL_MACHINE, "SECURITY"},
    {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
    {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {HKEY_CURRENT_USER, "Software\\Classes\\CLSID"},
    {HKEY_CURRENT_USER, "Software\\Policies"},
    {HKEY_CURRENT_USER, "Environment"},
    {HKEY_CURRENT_USER, "Control Panel"},
    {HKEY_CLASSES_ROOT, "CLSID"},
    {HKEY_CLASSES_ROOT, "Interface"},
    {HKEY_CLASSES_ROOT, "TypeLib"},
    {HKEY_CLASSES_ROOT, "AppID"},
    {HKEY_CLASSES_ROOT, "*"},
    {HKEY_CLASSES_ROOT, "Directory"},
    {HKEY_CLASSES_ROOT, "Folder"},
    {HKEY_CLASSES_ROOT, "exefile"},
};

// The key names of a path, empty ones left out.
std::vector<std::string> KeyNames(const std::string& path)
{
    std::vector<std::string> names;
    std::string name;
    for (char c : path + "\\") {
        if (c != '\\') {
            name.push_back(c);
        } else if (!name.empty()) {
            names.push_back(name);
            name.clear();
        }
    }
    return names;
}

// True when every name of the key matches the shared key's names from the start.
bool IsAtOrAbove(const std::vector<std::string>& key, const std::vector<std::string>& shared)
{
    if (key.size() > shared.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (!EqualsNoCase(key[i], shared[i]))
            return false;
    }
    return true;
}

}

bool IsSharedRegistryKey(HKEY root, const std::string& path)
{
    const std::vector<std::string> key = KeyNames(path);
    if (key.empty())
        return true;
    for (const SharedKey& shared : kSharedKeys) {
        if (shared.root == root && IsAtOrAbove(key, KeyNames(shared.path)))
            return true;
    }
    return false;
}
