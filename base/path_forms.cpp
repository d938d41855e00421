#include "base/path_forms.h"

#include "base/text_compare.h"

#include <cctype>

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool HasDevicePrefix(const std::string& path)
{
    return path.size() >= 4 && path[0] == '\\' && path[1] == '\\' && (path[2] == '?' || path[2] == '.')
        && path[3] == '\\';
}

bool IsDriveLetterPath(const std::string& path)
{
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':'
        && (path[2] == '\\' || path[2] == '/');
}

}

std::string WithoutDevicePrefix(const std::string& path)
{
    if (!HasDevicePrefix(path))
        return path;
    const std::string rest = path.substr(4);
    if (StartsWithNoCase(rest, "UNC\\"))
        return "\\\\" + rest.substr(4);
    return rest;
}

PathForm ClassifyPathForm(const std::string& path)
{
    const std::string plain = WithoutDevicePrefix(path);
    if (IsDriveLetterPath(plain) || (HasDevicePrefix(path) && plain.size() == 2 && plain[1] == ':'))
        return PathForm::DrivePath;
    // "\\?\UNC\..." came out as "\\server\..."; a device path keeps no drive letter.
    if (plain.size() >= 2 && (plain[0] == '\\' || plain[0] == '/') && (plain[1] == '\\' || plain[1] == '/'))
        return PathForm::Network;
    return HasDevicePrefix(path) ? PathForm::Device : PathForm::Relative;
}

bool IsSameOrInside(const std::string& folder, const std::string& container)
{
    if (folder.size() < container.size() || !EqualsNoCase(folder.substr(0, container.size()), container))
        return false;
    return folder.size() == container.size() || folder[container.size()] == '\\';
}

void ProtectedFolderList::Add(const std::string& folder, Protection protection)
{
    if (!folder.empty())
        m_folders.push_back(Entry{FoldedNoCase(folder), protection});
}

Protection ProtectedFolderList::Find(const std::string& folder) const
{
    const std::string folded = FoldedNoCase(folder);
    for (const Entry& entry : m_folders) {
        // The candidate is protected when a protected folder lies at or inside it.
        if (IsSameOrInside(entry.folded, folded))
            return entry.protection;
    }
    return Protection::None;
}

const std::vector<const char*>& ProfileKnownFolders()
{
    // The deepest of each chain is enough: whatever holds it is protected with it.
    static const std::vector<const char*> folders = {
        "Desktop", "Documents", "Downloads", "Music", "Pictures", "Videos", "Favorites", "Links", "Contacts",
        "Saved Games", "Searches", "OneDrive", "AppData\\Local\\Temp", "AppData\\LocalLow",
        "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup",
        "AppData\\Roaming\\Microsoft\\Windows\\SendTo", "AppData\\Roaming\\Microsoft\\Windows\\Recent",
        "AppData\\Roaming\\Microsoft\\Windows\\Templates",
    };
    return folders;
}
