#include "sysops/reg_key.h"

#include <cstring>
#include <vector>

namespace {

struct RootName {
    const char* name;
    HKEY root;
};

// Root names as the install record writes them, compared exactly.
const RootName kRootNames[] = {
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
};

const HKEY kPredefinedKeys[] = {
    HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
    HKEY_PERFORMANCE_DATA, HKEY_PERFORMANCE_TEXT, HKEY_PERFORMANCE_NLSTEXT, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA,
};

bool IsPredefinedKey(HKEY key)
{
    for (HKEY predefined : kPredefinedKeys) {
        if (key == predefined)
            return true;
    }
    return false;
}

// Longest key name the registry allows, with its terminating zero.
constexpr DWORD kKeyNameCapacity = 256;

}

RegKey::~RegKey()
{
    Close();
}

void RegKey::Take(HKEY key)
{
    m_key = key;
    m_ownsKey = !IsPredefinedKey(key);
}

bool RegKey::Open(HKEY parent, const std::string& subkey, REGSAM access)
{
    Close();
    if (!parent)
        return false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, subkey.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return false;
    Take(key);
    return true;
}

bool RegKey::OpenInView(HKEY parent, const std::string& subkey, REGSAM access, REGSAM view)
{
    if (!Open(parent, subkey, access | view))
        return false;
    m_viewAccess = view;
    return true;
}

bool RegKey::OpenInEitherView(HKEY parent, const std::string& subkey, REGSAM access)
{
    if (Open(parent, subkey, access))
        return true;
    if (!Open(parent, subkey, access | KEY_WOW64_32KEY))
        return false;
    m_viewAccess = KEY_WOW64_32KEY;
    return true;
}

void RegKey::Close()
{
    if (m_key && m_ownsKey)
        RegCloseKey(m_key);
    m_key = nullptr;
    m_ownsKey = false;
    m_viewAccess = 0;
}

bool RegKey::SetString(const std::string& name, const std::string& text)
{
    if (!m_key)
        return false;
    return RegSetValueExA(m_key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool RegKey::GetString(const std::string& name, std::string& text) const
{
    text.clear();
    if (!m_key)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(m_key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    std::vector<char> buffer(size + 1, '\0');
    if (RegQueryValueExA(m_key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size)
            != ERROR_SUCCESS
        || type != REG_SZ)
        return false;
    // The stored data need not end with a zero, and may hold one early; the text ends at the
    // first zero within the data.
    text.assign(buffer.data(), strnlen(buffer.data(), size));
    return true;
}

bool RegKey::GetNumber(const std::string& name, uint32_t& number) const
{
    if (!m_key)
        return false;
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueExA(m_key, name.c_str(), nullptr, nullptr, bytes, &size) != ERROR_SUCCESS)
        return false;
    uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    number = value;
    return true;
}

bool RegKey::DeleteSubkey(const std::string& name)
{
    if (!m_key || name.empty())
        return false;
    return RegDeleteKeyExA(m_key, name.c_str(), m_viewAccess, 0) == ERROR_SUCCESS;
}

bool RegKey::DeleteValue(const std::string& name)
{
    if (!m_key)
        return false;
    return RegDeleteValueA(m_key, name.c_str()) == ERROR_SUCCESS;
}

bool RegKey::DeleteKeyTree(const std::string& name)
{
    if (!m_key || name.empty())
        return false;
    RegKey subkey;
    if (!subkey.OpenInView(m_key, name, kDeleteAccess, m_viewAccess))
        return false;
    // Each pass deletes the subkey at index 0, so the loop ends when none is left.
    char child[kKeyNameCapacity];
    for (;;) {
        DWORD length = kKeyNameCapacity;
        if (RegEnumKeyExA(subkey.Handle(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!subkey.DeleteKeyTree(std::string(child, length)))
            return false;
    }
    subkey.Close();
    return RegDeleteKeyExA(m_key, name.c_str(), m_viewAccess, 0) == ERROR_SUCCESS;
}

HKEY RegKey::RootFromName(const std::string& name)
{
    for (const RootName& entry : kRootNames) {
        if (name == entry.name)
            return entry.root;
    }
    return nullptr;
}
