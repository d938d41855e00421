#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Read, set-value and create-subkey rights together: what the uninstaller asks for on the
// keys it deletes from.
constexpr REGSAM kDeleteAccess = 0x2001F;

// Owner of one open registry key. Closing a key that holds no handle does nothing;
// destruction closes. Every operation reports success as a bool and shows nothing.
class RegKey {
public:
    RegKey() = default;
    ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Opens subkey under parent with the given rights; an empty subkey opens parent itself.
    [[nodiscard]] bool Open(HKEY parent, const std::string& subkey, REGSAM access);
    // Opens as Open does; where the key is absent from the 64-bit view, opens it in the 32-bit
    // view, where a 32-bit installer put its keys. Later opens under this key should add
    // ViewAccess() so that they stay in the view it was found in.
    [[nodiscard]] bool OpenInEitherView(HKEY parent, const std::string& subkey, REGSAM access);
    // Opens as Open does in the view given (0 for the program's own view, KEY_WOW64_32KEY),
    // which ViewAccess() then reports.
    [[nodiscard]] bool OpenInView(HKEY parent, const std::string& subkey, REGSAM access, REGSAM view);
    // KEY_WOW64_32KEY when the key was found in the 32-bit view, else 0.
    [[nodiscard]] REGSAM ViewAccess() const { return m_viewAccess; }
    void Close();

    // Stores a string value; its stored length counts the terminating zero.
    [[nodiscard]] bool SetString(const std::string& name, const std::string& text);
    // Empties text, then reads a value of the plain string type (an expandable string fails).
    [[nodiscard]] bool GetString(const std::string& name, std::string& text) const;
    // Reads a value of at most four bytes, whatever its type.
    [[nodiscard]] bool GetNumber(const std::string& name, uint32_t& number) const;

    // Deletes one subkey that has no subkeys, in the key's own view. An empty name is refused:
    // the system would take it as the open key itself.
    [[nodiscard]] bool DeleteSubkey(const std::string& name);
    [[nodiscard]] bool DeleteValue(const std::string& name);
    // Deletes subkey name with its whole subtree, depth first; stops at the first subkey that
    // cannot be deleted, keeping what went before. An empty name is refused.
    [[nodiscard]] bool DeleteKeyTree(const std::string& name);

    // HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT and HKEY_CURRENT_USER by their exact names;
    // nullptr for any other text, under which every open fails.
    [[nodiscard]] static HKEY RootFromName(const std::string& name);

    [[nodiscard]] HKEY Handle() const { return m_key; }
    [[nodiscard]] bool IsOpen() const { return m_key != nullptr; }

private:
    void Take(HKEY key);

    HKEY m_key = nullptr;
    // Opening a predefined root with an empty subkey gives back the root's own handle, which
    // belongs to the system and is never closed by us.
    bool m_ownsKey = false;
    REGSAM m_viewAccess = 0;
};

// Removes one entry of the registry list, "Type,Root,Path,Name": the key Name under
// Root\Path with its subtree when Type is "Key" (any case), else the value Name. The Path
// key itself stays. Where the key or value is absent from the 64-bit view, it is removed from
// the 32-bit view, where a 32-bit installer wrote it. A key that every program shares is
// never deleted. False when the entry has fewer than four fields, Path cannot be opened or the
// key is shared; true otherwise, whatever the deletion gave. outcome, when given, receives what
// became of the key or value.
enum class RegistryRemoval {
    Malformed, // fewer than four fields
    Shared,    // a key every program shares, never deleted
    Missing,   // in neither view
    Removed,
    Failed,
};
bool RemoveRegistryItem(const std::string& item, RegistryRemoval* outcome = nullptr);

// What the registry holds of one entry of the registry list, looked up as RemoveRegistryItem
// would find it, with read access only.
enum class RegistryItemPresence {
    Malformed, // fewer than four fields or an unknown root
    Shared,
    Missing,
    Present,
};
[[nodiscard]] RegistryItemPresence FindRegistryItem(const std::string& item);
