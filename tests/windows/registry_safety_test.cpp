#include "app/run/final_steps.h"
#include "app/run/uninstall_session.h"
#include "sysops/reg_key.h"
#include "sysops/shared_keys.h"

#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

#include <vector>

// A damaged record must never delete a key that every program shares, and the keys that a
// 32-bit installer wrote into the 32-bit view must go like any other.

namespace {

std::string Item(const std::string& type, const std::string& root, const std::string& path, const std::string& name)
{
    return type + "," + root + "," + path + "," + name;
}

bool ExistsInView(const std::string& path, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ValueInView(const std::string& path, const std::string& name, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    const bool found = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

// A key of the 32-bit view only, written as a 32-bit installer does; removed at the end.
class ThirtyTwoBitKey {
public:
    explicit ThirtyTwoBitKey(const std::string& path) : m_path(path)
    {
        m_ready = RunReg("add \"HKLM\\" + path + "\\App\\Sub\" /v Kept /d x /f /reg:32")
            && RunReg("add \"HKLM\\" + path + "\" /v InstallDir /d C:\\App /f /reg:32");
    }
    ~ThirtyTwoBitKey() { RunReg("delete \"HKLM\\" + m_path + "\" /f /reg:32"); }
    ThirtyTwoBitKey(const ThirtyTwoBitKey&) = delete;
    ThirtyTwoBitKey& operator=(const ThirtyTwoBitKey&) = delete;

    [[nodiscard]] bool IsReady() const { return m_ready; }

private:
    std::string m_path;
    bool m_ready = false;
};

}

TEST(SharedKeys, KeysEveryProgramSharesAreRefusedInAnySpelling)
{
    EXPECT_TRUE(IsSharedRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE"));
    EXPECT_TRUE(IsSharedRegistryKey(HKEY_LOCAL_MACHINE, "\\software\\"));
    EXPECT_TRUE(IsSharedRegistryKey(HKEY_LOCAL_MACHINE, "Software\\\\Microsoft"));
    EXPECT_TRUE(IsSharedRegistryKey(HKEY_LOCAL_MACHINE, "Software\\Classes"));
    EXPECT_TRUE(IsSharedRegistryKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
    EXPECT_TRUE(IsSharedRegistryKey(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_TRUE(IsSharedRegistryKey(HKEY_CURRENT_USER, ""));
    EXPECT_TRUE(IsSharedRegistryKey(HKEY_CURRENT_USER, "Software"));
    EXPECT_FALSE(IsSharedRegistryKey(HKEY_LOCAL_MACHINE, "Software\\Maker"));
    EXPECT_FALSE(IsSharedRegistryKey(HKEY_CLASSES_ROOT, "CLSID\\{12345678-0000-0000-0000-000000000000}"));
    EXPECT_FALSE(IsSharedRegistryKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App"));
}

TEST(SharedKeys, HostileKeyItemLeavesTheSharedTree)
{
    const std::string sentinel = "Software\\Classes\\CLSID\\{UnInstallTests-Sentinel-" + std::to_string(GetCurrentProcessId()) + "}";
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, sentinel));

    EXPECT_FALSE(RemoveRegistryItem(Item("Key", "HKEY_CURRENT_USER", "Software\\Classes", "CLSID")));
    EXPECT_FALSE(RemoveRegistryItem(Item("Key", "HKEY_CURRENT_USER", "Software", "Classes\\CLSID")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, sentinel));
    EXPECT_TRUE(RemoveRegistryItem(Item("Key", "HKEY_CURRENT_USER", "Software\\Classes\\CLSID", sentinel.substr(23))))
        << "an application's own class is no shared key";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, sentinel));
}

TEST(RegistryViews, KeyAndValueOfA32BitInstallerAreRemovedFromThe32BitView)
{
    const std::string path = "Software\\UnInstallTests\\View32-" + std::to_string(GetCurrentProcessId());
    ThirtyTwoBitKey key(path);
    if (!key.IsReady())
        GTEST_SKIP() << "reg.exe could not write the 32-bit view";
    ASSERT_FALSE(ExistsInView(path, KEY_WOW64_64KEY));

    EXPECT_TRUE(RemoveRegistryItem(Item("Key", "HKEY_LOCAL_MACHINE", path, "App")));
    EXPECT_TRUE(RemoveRegistryItem(Item("Value", "HKEY_LOCAL_MACHINE", path, "InstallDir")));
    EXPECT_FALSE(ExistsInView(path + "\\App", KEY_WOW64_32KEY));
    EXPECT_FALSE(ValueInView(path, "InstallDir", KEY_WOW64_32KEY));
    EXPECT_TRUE(ExistsInView(path, KEY_WOW64_32KEY)) << "the Path key itself stays";
}

TEST(RegistryViews, UninstallEntryOfA32BitInstallerIsRemoved)
{
    const std::string guid = "{UnInstallTests-View32-" + std::to_string(GetCurrentProcessId()) + "}";
    const std::string entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + guid;
    if (!RunReg("add \"HKLM\\" + entry + "\" /v DisplayName /d App /f /reg:32"))
        GTEST_SKIP() << "reg.exe could not write the 32-bit view";
    ASSERT_FALSE(ExistsInView(entry, KEY_WOW64_64KEY));

    UninstallSession session;
    session.Record().SetGUID(guid);
    EXPECT_TRUE(RemoveUninstallEntry(session.Record()));
    EXPECT_FALSE(ExistsInView(entry, KEY_WOW64_32KEY));
    RunReg("delete \"HKLM\\" + entry + "\" /f /reg:32");
}
