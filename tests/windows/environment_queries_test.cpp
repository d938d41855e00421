#include "sysops/environment_queries.h"

#include "tests/support/scratch_key.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

// HKEY_LOCAL_MACHINE of this process is a scratch key while the object lives, so that the
// component keys are laid out without touching the prefix's own.
class MachineKeyOverride {
public:
    explicit MachineKeyOverride(const ScratchKey& scratch)
    {
        if (RegOpenKeyExA(scratch.Root(), scratch.Path().c_str(), 0, KEY_ALL_ACCESS, &m_key) == ERROR_SUCCESS)
            m_active = RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_key) == ERROR_SUCCESS;
    }
    ~MachineKeyOverride()
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        if (m_key)
            RegCloseKey(m_key);
    }
    [[nodiscard]] bool IsActive() const { return m_active; }

private:
    HKEY m_key = nullptr;
    bool m_active = false;
};

const char* const PolicyKey = "SOFTWARE\\Microsoft\\.NETFramework\\policy";

}

TEST(OsName, VersionsAfterWindows7AreReportedAsNt3)
{
    EXPECT_EQ("Windows7", OsNameFor({false, 6, 1}));
    EXPECT_EQ("WindowsNT3", OsNameFor({false, 6, 2}));
    EXPECT_EQ("WindowsNT3", OsNameFor({false, 10, 0}));
    EXPECT_EQ("WindowsNT3", OsNameFor({false, 3, 51}));
    EXPECT_EQ("WindowsNT4", OsNameFor({false, 4, 0}));
    EXPECT_EQ("WindowsXP", OsNameFor({false, 5, 1}));
    EXPECT_EQ("Windows32s", OsNameFor({true, 3, 10}));
    EXPECT_EQ("Windows95", OsNameFor({true, 4, 0}));
    EXPECT_EQ("WindowsME", OsNameFor({true, 4, 90}));
    EXPECT_FALSE(GetOsName().empty());
}

TEST(LanguageName, OnlyTaiwanIsTraditionalChinese)
{
    EXPECT_EQ("Chinese-Traditional", LanguageNameFor(0x0404));
    EXPECT_EQ("Chinese-Simplified", LanguageNameFor(0x0804));
    EXPECT_EQ("Chinese-Simplified", LanguageNameFor(0x0C04)) << "Hong Kong";
    EXPECT_EQ("English", LanguageNameFor(0x0407)) << "German";
    EXPECT_EQ("English", LanguageNameFor(0x0409));
}

TEST(GuidText, ThirdGroupIsLowerCase)
{
    EXPECT_EQ("0123ABCD-EF01-abcd-0123-456789ABCDEF",
              FormatGuidText({0x0123ABCD, 0xEF01, 0xABCD, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}}));
    std::string first = NewGuidText();
    ASSERT_EQ(36u, first.size()) << first;
    for (std::size_t index : {8u, 13u, 18u, 23u})
        EXPECT_EQ('-', first[index]) << first;
    for (std::size_t index = 0; index < first.size(); ++index) {
        bool thirdGroup = index >= 14 && index < 18;
        auto character = static_cast<unsigned char>(first[index]);
        EXPECT_FALSE(thirdGroup ? std::isupper(character) : std::islower(character)) << first;
    }
    EXPECT_NE(first, NewGuidText());
}

TEST(ComponentVersion, IisNumbersAndMdacText)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "machine");
    ASSERT_TRUE(scratch.IsReady());
    const std::string iis = scratch.Join("SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters");
    ASSERT_TRUE(PutNumber(HKEY_CURRENT_USER, iis, "MajorVersion", 7));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, scratch.Join("Software\\Microsoft\\DataAccess"), "FullInstallVer", REG_SZ,
                         "6.1.7601.17514"));
    MachineKeyOverride machine(scratch);
    ASSERT_TRUE(machine.IsActive());

    EXPECT_EQ("", GetComponentVersion("IIS")) << "the minor number is missing";
    ASSERT_TRUE(PutNumber(HKEY_CURRENT_USER, iis, "MinorVersion", 5));
    EXPECT_EQ("7.5", GetComponentVersion("IIS"));
    EXPECT_EQ("", GetComponentVersion("iis"));
    EXPECT_EQ("6.1.7601.17514", GetComponentVersion("mdac"));
    EXPECT_EQ("", GetComponentVersion("Framework")) << "no policy key";
    EXPECT_EQ("", GetComponentVersion("Java"));
}

// The registry lists subkeys sorted by name, so the newest version is put neither first nor
// last in that order, nor last by text.
TEST(ComponentVersion, FrameworkTakesTheNewestPolicyWhereverItIsListed)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "framework");
    ASSERT_TRUE(scratch.IsReady());
    const std::string policy = scratch.Join(PolicyKey);
    for (const char* version : {"v1.1", "v2.0", "v9.5", "AppPatch"})
        ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, policy + "\\" + version, "4322", REG_SZ, "x"));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, policy + "\\V10.0", "", REG_SZ, "unnamed"));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, policy + "\\V10.0", "30319", REG_SZ, "30319-30319"));
    MachineKeyOverride machine(scratch);
    ASSERT_TRUE(machine.IsActive());
    EXPECT_EQ("10.0.30319", GetComponentVersion("framework"));
}

TEST(UninstallEntryQuery, FoundInEitherViewAndMissingValuesAreEmpty)
{
    const std::string name = "UnInstallTests-entry-" + std::to_string(GetCurrentProcessId());
    const std::string path = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name;
    UninstallEntry entry;
    EXPECT_FALSE(ReadUninstallEntry(name, entry));

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr));
    const char location[] = "C:\\Program Files (x86)\\Maker";
    RegSetValueExA(key, "InstallLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(location), sizeof location);
    RegSetValueExA(key, "DisplayName", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("Maker"), 6);
    RegCloseKey(key);
    EXPECT_TRUE(ReadUninstallEntry(name, entry)) << "a 32-bit installer's entry";
    EXPECT_EQ(location, entry.installLocation);
    EXPECT_EQ("", entry.displayName) << "not a plain string";
    EXPECT_EQ("", entry.uninstallString);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), KEY_WOW64_32KEY, 0);
}

TEST(OwnModulePath, IsTheRunningProgram)
{
    std::string path = GetOwnModulePath();
    EXPECT_NE(std::string::npos, path.find(".exe")) << path;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << path;
}
