#include "sysops/reg_key.h"

#include "sysops/procedure_address.h"
#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

namespace {

// "Key,HKEY_CURRENT_USER,<path>,<name>" for a key below a scratch key.
std::string Item(const char* type, const char* root, const std::string& path, const std::string& name)
{
    return std::string(type) + "," + root + "," + path + "," + name;
}


// A key that nothing can delete, under Wine as under Windows (Wine does not enforce a key's
// security, so a denied DELETE would not do): a symbolic link to a key that does not exist.
// Opening it follows the link and fails, so neither a tree walk nor RegDeleteKey gets hold of it.
bool MakeDanglingLink(HKEY root, const std::string& path)
{
    HKEY link = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring target = L"\\Registry\\Machine\\Software\\UnInstallTests\\NoKeyBehindThisLink";
    const LONG set = RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.data()),
                                    static_cast<DWORD>(target.size() * sizeof(wchar_t)));
    RegCloseKey(link);
    return set == ERROR_SUCCESS;
}

bool RemoveLink(HKEY root, const std::string& path)
{
    HKEY link = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), REG_OPTION_OPEN_LINK, DELETE, &link) != ERROR_SUCCESS)
        return false;
    using NtDeleteKeyFunction = LONG(NTAPI*)(HANDLE);
    auto deleteKey = ProcedureAddress<NtDeleteKeyFunction>(GetModuleHandleA("ntdll.dll"), "NtDeleteKey");
    const bool deleted = deleteKey && deleteKey(link) == 0;
    RegCloseKey(link);
    return deleted;
}

}

TEST(RegistryRoots, OnlyTheThreeExactNamesAreRoots)
{
    EXPECT_EQ(HKEY_LOCAL_MACHINE, RegKey::RootFromName("HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(HKEY_CLASSES_ROOT, RegKey::RootFromName("HKEY_CLASSES_ROOT"));
    EXPECT_EQ(HKEY_CURRENT_USER, RegKey::RootFromName("HKEY_CURRENT_USER"));
    EXPECT_EQ(nullptr, RegKey::RootFromName("hkey_local_machine"));
    EXPECT_EQ(nullptr, RegKey::RootFromName("HKLM"));
    EXPECT_EQ(nullptr, RegKey::RootFromName("HKEY_USERS"));
    EXPECT_EQ(nullptr, RegKey::RootFromName(" HKEY_CURRENT_USER"));
    EXPECT_EQ(nullptr, RegKey::RootFromName(""));

    RegKey key;
    EXPECT_FALSE(key.Open(RegKey::RootFromName("hkey_current_user"), "Software", KEY_READ));
    EXPECT_FALSE(key.IsOpen());
}

TEST(RegistryValues, StringsAndNumbersRoundTrip)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "values");
    ASSERT_TRUE(scratch.IsReady());
    RegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, scratch.Path(), KEY_ALL_ACCESS));

    EXPECT_TRUE(key.SetString("InstallDir", "C:\\Program Files\\Maker"));
    std::string text = "sentinel";
    EXPECT_TRUE(key.GetString("InstallDir", text));
    EXPECT_EQ("C:\\Program Files\\Maker", text);
    DWORD size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key.Handle(), "InstallDir", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(sizeof "C:\\Program Files\\Maker", size) << "the stored length counts the terminating zero";

    EXPECT_TRUE(key.SetString("Empty", ""));
    EXPECT_TRUE(key.GetString("Empty", text));
    EXPECT_EQ("", text);

    ASSERT_TRUE(PutNumber(HKEY_CURRENT_USER, scratch.Path(), "Count", 0xDEADBEEF));
    uint32_t number = 0;
    EXPECT_TRUE(key.GetNumber("Count", number));
    EXPECT_EQ(0xDEADBEEFu, number);
}

TEST(RegistryValues, WrongTypesAndMissingValuesFail)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "types");
    ASSERT_TRUE(scratch.IsReady());
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, scratch.Path(), "Expandable", REG_EXPAND_SZ, std::string("%TEMP%\\x", 10)));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, scratch.Path(), "Wide", REG_BINARY, std::string(8, '\x01')));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, scratch.Path(), "Short", REG_BINARY, std::string("\x2A\x01", 2)));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, scratch.Path(), "Unterminated", REG_SZ, "abc"));
    RegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, scratch.Path(), KEY_READ));

    std::string text = "sentinel";
    EXPECT_FALSE(key.GetString("Expandable", text)) << "an expandable string is not a string";
    EXPECT_EQ("", text) << "the text is emptied even when the read fails";
    text = "sentinel";
    EXPECT_FALSE(key.GetString("Missing", text));
    EXPECT_EQ("", text);
    EXPECT_TRUE(key.GetString("Unterminated", text));
    EXPECT_EQ("abc", text);

    uint32_t number = 0x0BADF00D;
    EXPECT_FALSE(key.GetNumber("Wide", number)) << "longer than four bytes";
    EXPECT_FALSE(key.GetNumber("Missing", number));
    EXPECT_EQ(0x0BADF00Du, number);
    EXPECT_TRUE(key.GetNumber("Short", number)) << "the type is not looked at";
    EXPECT_EQ(0x012Au, number);

    EXPECT_FALSE(key.SetString("Read", "only")) << "the key was opened for reading";
}

TEST(RegistryHandles, ClosedKeysRefuseEverythingAndCloseTwiceSafely)
{
    RegKey key;
    std::string text;
    uint32_t number = 0;
    EXPECT_FALSE(key.GetString("x", text));
    EXPECT_FALSE(key.GetNumber("x", number));
    EXPECT_FALSE(key.SetString("x", "y"));
    EXPECT_FALSE(key.DeleteValue("x"));
    EXPECT_FALSE(key.DeleteKeyTree("x"));
    key.Close();
    key.Close();
    EXPECT_EQ(nullptr, key.Handle());
}

TEST(RegistryDeletion, EmptyNamesNeverDeleteTheOpenKey)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "emptyname");
    ASSERT_TRUE(scratch.IsReady());
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, scratch.Join("Leaf")));
    RegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, scratch.Join("Leaf"), KEY_ALL_ACCESS | DELETE));
    EXPECT_FALSE(key.DeleteSubkey(""));
    EXPECT_FALSE(key.DeleteKeyTree(""));
    key.Close();
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch.Join("Leaf")));

    EXPECT_TRUE(RemoveRegistryItem(Item("Key", "HKEY_CURRENT_USER", scratch.Join("Leaf"), "")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch.Join("Leaf"))) << "a record item naming no subkey removes nothing";
}

TEST(RegistryDeletion, DeepTreeGoesAndItsParentStays)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "tree");
    ASSERT_TRUE(scratch.IsReady());
    const std::string maker = scratch.Join("Maker");
    const std::string app = maker + "\\App";
    std::string deep = app;
    for (int level = 0; level < 20; ++level)
        deep += "\\Level" + std::to_string(level);
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, deep));
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, app + "\\Wide\\Sibling" + std::to_string(i)));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, deep, "Data", REG_SZ, "x"));
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, app, "Version", REG_SZ, "1"));

    EXPECT_TRUE(RemoveRegistryItem(Item("Key", "HKEY_CURRENT_USER", maker, "App")));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, app));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, maker)) << "the Path key stays even when it is now empty";
}

TEST(RegistryDeletion, ValueItemDeletesOnlyThatValue)
{
    ScratchKey scratch(HKEY_LOCAL_MACHINE, "value");
    ASSERT_TRUE(scratch.IsReady());
    const std::string app = scratch.Join("App");
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, app + "\\InstallDir"));
    ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, app, "InstallDir", REG_SZ, "C:\\App"));
    ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, app, "Other", REG_SZ, "stays"));

    EXPECT_TRUE(RemoveRegistryItem(Item("Value", "HKEY_LOCAL_MACHINE", app, "InstallDir")));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, app, "InstallDir"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, app, "Other"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, app + "\\InstallDir")) << "a subkey of the same name is not a value";

    EXPECT_TRUE(RemoveRegistryItem(Item("Value", "HKEY_LOCAL_MACHINE", app, "InstallDir")))
        << "a value already gone still counts as handled";
}

TEST(RegistryDeletion, KeywordIsCaseInsensitiveAndAnythingElseIsAValue)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "keyword");
    ASSERT_TRUE(scratch.IsReady());
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, scratch.Join("Lower")));
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, scratch.Join("Strange")));

    EXPECT_TRUE(RemoveRegistryItem(Item("kEY", "HKEY_CURRENT_USER", scratch.Path(), "Lower")));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratch.Join("Lower")));
    EXPECT_TRUE(RemoveRegistryItem(Item("Keys", "HKEY_CURRENT_USER", scratch.Path(), "Strange")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratch.Join("Strange"))) << "Keys names a value, which is missing";
}

TEST(RegistryDeletion, MalformedItemsRemoveNothing)
{
    ScratchKey scratch(HKEY_LOCAL_MACHINE, "malformed");
    ASSERT_TRUE(scratch.IsReady());
    ASSERT_TRUE(MakeKey(HKEY_LOCAL_MACHINE, scratch.Join("App")));
    const std::string path = scratch.Path();

    EXPECT_FALSE(RemoveRegistryItem(Item("Key", "hkey_local_machine", path, "App"))) << "lower-case root";
    EXPECT_FALSE(RemoveRegistryItem(Item("Key", " HKEY_LOCAL_MACHINE", path, "App"))) << "fields are not trimmed";
    EXPECT_FALSE(RemoveRegistryItem("Key,HKEY_LOCAL_MACHINE," + path)) << "three fields";
    EXPECT_FALSE(RemoveRegistryItem(""));
    EXPECT_FALSE(RemoveRegistryItem(Item("Key", "HKEY_LOCAL_MACHINE", path + "\\Missing", "App")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, scratch.Join("App")));

    // The fourth field ends at a comma too: what follows it is dropped.
    EXPECT_TRUE(RemoveRegistryItem(Item("Key", "HKEY_LOCAL_MACHINE", path, "App,trailing,text")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, scratch.Join("App")));
}

TEST(RegistryDeletion, EmptyPathOpensTheRootItself)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "rootpath");
    ASSERT_TRUE(scratch.IsReady());
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, scratch.Join("Gone")));
    // The key named relative to the root: Name may hold backslashes, as the record allows.
    EXPECT_TRUE(RemoveRegistryItem("Key,HKEY_CURRENT_USER,," + scratch.Join("Gone")));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratch.Join("Gone")));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software")) << "the root and its other keys are untouched";
}

TEST(RegistryDeletion, UndeletableSubkeyStopsTheTreeAndEarlierDeletionsStay)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "locked");
    ASSERT_TRUE(scratch.IsReady());
    const std::string app = scratch.Join("App");
    // Subkeys are taken at index 0, in the registry's alphabetical order: A goes first, then
    // B holds the key that cannot be removed and stops the walk before C.
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, app + "\\A\\Deep"));
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, app + "\\B"));
    ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, app + "\\C"));
    ASSERT_TRUE(MakeDanglingLink(HKEY_CURRENT_USER, app + "\\B\\Locked"));

    RegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, scratch.Path(), kDeleteAccess));
    EXPECT_FALSE(key.DeleteKeyTree("App"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, app + "\\A")) << "what went before stays deleted";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, app + "\\B")) << "B keeps the key that could not go";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, app + "\\C")) << "the walk stopped at the locked key";

    // Only the native call removes the link itself; then the scratch key can go.
    EXPECT_TRUE(RemoveLink(HKEY_CURRENT_USER, app + "\\B\\Locked"));
}
