#pragma once

#include <windows.h>

#include <string>

// A private registry key for one test, Software\UnInstallTests\<label>-<pid>-<n> under the
// given root; removed with its subtree when the test ends, by the system's own tree
// deletion rather than the product's.
class ScratchKey {
public:
    ScratchKey(HKEY root, const std::string& label);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    [[nodiscard]] HKEY Root() const { return m_root; }
    [[nodiscard]] const std::string& Path() const { return m_path; }
    [[nodiscard]] std::string Join(const std::string& name) const { return m_path + "\\" + name; }
    // Whether the key could be made; a test without its key cannot say anything.
    [[nodiscard]] bool IsReady() const { return m_ready; }

private:
    HKEY m_root;
    std::string m_path;
    bool m_ready = false;
};

// Helpers that lay out keys and values and read them back, independently of RegKey.
bool MakeKey(HKEY root, const std::string& path);
[[nodiscard]] bool KeyExists(HKEY root, const std::string& path);
bool PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& data);
bool PutNumber(HKEY root, const std::string& path, const std::string& name, DWORD number);
[[nodiscard]] bool ValueExists(HKEY root, const std::string& path, const std::string& name);

// Runs the system's reg.exe with the arguments (for example "add ... /reg:32", which writes to
// the 32-bit view as a 32-bit installer would) and waits for it; true when it succeeded.
bool RunReg(const std::string& arguments);
