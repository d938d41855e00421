#include "tests/support/scratch_key.h"

#include <atomic>
#include <cstdio>
#include <vector>

namespace {

const char kTestsKey[] = "Software\\UnInstallTests";

}

ScratchKey::ScratchKey(HKEY root, const std::string& label) : m_root(root)
{
    static std::atomic<int> counter{0};
    char name[200];
    snprintf(name, sizeof name, "%s\\%s-%lu-%d", kTestsKey, label.c_str(), GetCurrentProcessId(), ++counter);
    m_path = name;
    RegDeleteTreeA(m_root, m_path.c_str());
    m_ready = MakeKey(m_root, m_path);
}

ScratchKey::~ScratchKey()
{
    RegDeleteTreeA(m_root, m_path.c_str());
    RegDeleteKeyA(m_root, kTestsKey); // only goes when no other test still has its key there
}

bool MakeKey(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& data)
{
    return RegSetKeyValueA(root, path.c_str(), name.c_str(), type, data.data(), static_cast<DWORD>(data.size()))
        == ERROR_SUCCESS;
}

bool PutNumber(HKEY root, const std::string& path, const std::string& name, DWORD number)
{
    return RegSetKeyValueA(root, path.c_str(), name.c_str(), REG_DWORD, &number, sizeof number) == ERROR_SUCCESS;
}

bool ValueExists(HKEY root, const std::string& path, const std::string& name)
{
    return RegGetValueA(root, path.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RunReg(const std::string& arguments)
{
    std::string line = "reg.exe " + arguments;
    std::vector<char> text(line.begin(), line.end());
    text.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return false;
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}
