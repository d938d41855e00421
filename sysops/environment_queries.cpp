#include "sysops/environment_queries.h"

#include "base/path_text.h"
#include "base/text_compare.h"
#include "sysops/reg_key.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>

namespace {

// A row matches any minor version with this value.
constexpr std::uint32_t AnyMinor = 0xFFFFFFFF;

struct OsRow {
    bool nineXFamily;
    std::uint32_t major;
    std::uint32_t minor;
    int code;
    const char* name;
};

// The versions with a name of their own; Win32s (the 9x family below version 4, code 0) and
// the two family defaults are decided around the table.
const OsRow g_osNames[] = {
    {true, 4, 10, 3, "Windows98"},
    {true, 4, 90, 4, "WindowsME"},
    {false, 4, AnyMinor, 5, "WindowsNT4"},
    {false, 5, 0, 6, "Windows2000"},
    {false, 5, 1, 7, "WindowsXP"},
    {false, 5, 2, 8, "Windows2003"},
    {false, 6, 0, 9, "Vista"},
    {false, 6, 1, 10, "Windows7"},
};

constexpr const char* Win32sName = "Windows32s";
constexpr const char* NtDefaultName = "WindowsNT3";
constexpr const char* NineXDefaultName = "Windows95";

std::string ClassifyRunningSystem()
{
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
        return {};
    const bool nineX = (GetVersion() & 0x80000000u) != 0;
    return OsNameFor({nineX, info.dwMajorVersion, info.dwMinorVersion});
}

constexpr std::uint16_t PrimaryLanguageMask = 0x3FF;
constexpr std::uint16_t EnglishLanguage = 0x09;
constexpr std::uint16_t ChineseLanguage = 0x04;
// Chinese (Taiwan) is the only Chinese identifier from 0x0400 up to 0x0800.
constexpr std::uint16_t TraditionalFrom = 0x0400;
constexpr std::uint16_t TraditionalBelow = 0x0800;

constexpr const char* IisKey = "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters";
constexpr const char* MdacKey = "Software\\Microsoft\\DataAccess";
constexpr const char* FrameworkPolicyKey = "SOFTWARE\\Microsoft\\.NETFramework\\policy";

std::string IisVersion()
{
    RegKey key;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    if (!key.Open(HKEY_LOCAL_MACHINE, IisKey, KEY_READ) || !key.GetNumber("MajorVersion", major)
        || !key.GetNumber("MinorVersion", minor))
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d", static_cast<int>(major), static_cast<int>(minor));
    return text;
}

std::string MdacVersion()
{
    RegKey key;
    std::string version;
    if (!key.Open(HKEY_LOCAL_MACHINE, MdacKey, KEY_READ) || !key.GetString("FullInstallVer", version))
        return {};
    return version;
}

// A policy subkey's name without its letters v and V, and that rest read as a decimal number
// ("v1.1" is 1.1), so that versions with the same major number are told apart.
std::string WithoutVersionLetters(const std::string& name)
{
    std::string rest;
    for (char character : name) {
        if (character != 'v' && character != 'V')
            rest += character;
    }
    return rest;
}

double ReadVersionNumber(const std::string& text)
{
    double number = 0.0;
    std::size_t index = 0;
    for (; index < text.size() && text[index] >= '0' && text[index] <= '9'; ++index)
        number = number * 10.0 + (text[index] - '0');
    if (index < text.size() && text[index] == '.') {
        double scale = 0.1;
        for (++index; index < text.size() && text[index] >= '0' && text[index] <= '9'; ++index, scale /= 10.0)
            number += (text[index] - '0') * scale;
    }
    return number;
}

// The policy subkey with the largest version; the first of equal ones; none reads as 0.
std::string NewestPolicyVersion(HKEY policy)
{
    std::string kept;
    double keptNumber = 0.0;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(policy, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::string rest = WithoutVersionLetters(std::string(name, length));
        double number = ReadVersionNumber(rest);
        if (number > keptNumber) {
            keptNumber = number;
            kept = rest;
        }
    }
    return kept;
}

// The first value with a name under the newest policy: "2.0" and "50727" give "2.0.50727".
std::string FrameworkVersion()
{
    RegKey policy;
    if (!policy.Open(HKEY_LOCAL_MACHINE, FrameworkPolicyKey, KEY_READ))
        return {};
    std::string version = NewestPolicyVersion(policy.Handle());
    RegKey versionKey;
    if (version.empty() || !versionKey.Open(HKEY_LOCAL_MACHINE, std::string(FrameworkPolicyKey) + "\\v" + version, KEY_READ))
        return {};
    char name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumValueA(versionKey.Handle(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return {};
        if (length > 0)
            return version + "." + std::string(name, length);
    }
}

constexpr const char* UninstallKeyPrefix = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

}

std::string OsNameFor(const OsVersion& version)
{
    if (version.nineXFamily && version.major < 4)
        return Win32sName;
    for (const OsRow& row : g_osNames) {
        if (row.nineXFamily == version.nineXFamily && row.major == version.major
            && (row.minor == AnyMinor || row.minor == version.minor))
            return row.name;
    }
    return version.nineXFamily ? NineXDefaultName : NtDefaultName;
}

std::string GetOsName()
{
    static const std::string name = ClassifyRunningSystem();
    return name;
}

std::string LanguageNameFor(std::uint16_t languageId)
{
    const std::uint16_t primary = languageId & PrimaryLanguageMask;
    if (primary == EnglishLanguage || primary != ChineseLanguage)
        return "English";
    if (languageId >= TraditionalFrom && languageId < TraditionalBelow)
        return "Chinese-Traditional";
    return "Chinese-Simplified";
}

std::string GetLanguageName() { return LanguageNameFor(GetUserDefaultLangID()); }

std::string FormatGuidText(const GuidFields& guid)
{
    char text[40];
    std::snprintf(text, sizeof text, "%08lX-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(guid.data1), guid.data2, guid.data3, guid.data4[0], guid.data4[1],
                  guid.data4[2], guid.data4[3], guid.data4[4], guid.data4[5], guid.data4[6], guid.data4[7]);
    return text;
}

std::string NewGuidText()
{
    GUID guid;
    if (FAILED(CoCreateGuid(&guid)))
        return {};
    GuidFields fields{guid.Data1, guid.Data2, guid.Data3, {}};
    for (int index = 0; index < 8; ++index)
        fields.data4[index] = guid.Data4[index];
    return FormatGuidText(fields);
}

std::string GetComponentVersion(const std::string& name)
{
    if (name == "IIS")
        return IisVersion();
    if (EqualsNoCase(name, "MDAC"))
        return MdacVersion();
    if (EqualsNoCase(name, "Framework"))
        return FrameworkVersion();
    return {};
}

bool ReadUninstallEntry(const std::string& key, UninstallEntry& entry)
{
    entry = {};
    RegKey uninstallKey;
    if (!uninstallKey.OpenInEitherView(HKEY_LOCAL_MACHINE, UninstallKeyPrefix + key, kDeleteAccess))
        return false;
    (void)uninstallKey.GetString("UninstallString", entry.uninstallString);
    (void)uninstallKey.GetString("DisplayName", entry.displayName);
    (void)uninstallKey.GetString("DisplayVersion", entry.displayVersion);
    (void)uninstallKey.GetString("InstallLocation", entry.installLocation);
    return true;
}

std::string GetOwnModulePath()
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}
