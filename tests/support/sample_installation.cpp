#include "tests/support/sample_installation.h"

#include "app/flows/scrambled_text.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

std::string RecordedModifyDate(const std::string& path, int secondsOff)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    FILETIME local;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    SYSTEMTIME time;
    FileTimeToSystemTime(&local, &time);
    char text[64];
    snprintf(text, sizeof text, "%d-%d-%d %d:%d:%d", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
        time.wSecond + secondsOff);
    return text;
}

std::string TestProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\'));
}

SampleInstallation::SampleInstallation(const std::string& label, const std::string& exeName)
    : m_scratch(label), m_exeName(exeName)
{
    static std::atomic<int> counter{0};
    m_appFolder = m_scratch.Join("App");
    MakeFolder(m_appFolder);
    m_programFolder = m_scratch.Join("Program");
    MakeFolder(m_programFolder);
    CopyFileA((TestProgramFolder() + "\\UnInstall.exe").c_str(), UninstallerPath().c_str(), FALSE);
    m_guid = "{UnInstallTest-" + label + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "}";
    m_record.SetUnInstallFolder(m_appFolder);
    m_record.SetAppName("Sample App");
    m_record.SetGUID(m_guid);
}

SampleInstallation::~SampleInstallation()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKeyPath) + "\\" + m_guid).c_str());
}

RecordItem& SampleInstallation::AddFile(const std::string& relative, const std::string& text)
{
    const std::string path = InProgram(relative);
    WriteFileText(path, text);
    RecordItem item;
    item.SetField("FileName", path);
    m_record.CopyFiles().push_back(item);
    return m_record.CopyFiles().back();
}

void SampleInstallation::AddFolder(const std::string& relative)
{
    const std::string path = InProgram(relative);
    MakeFolder(path);
    RecordItem item;
    item.SetField("DirName", path);
    m_record.CreateDirs().push_back(item);
}

bool SampleInstallation::AddUninstallEntry()
{
    HKEY key = nullptr;
    const std::string path = std::string(kUninstallKeyPath) + "\\" + m_guid;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const std::string name = m_record.GetAppName();
    RegSetValueExA(key, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()), static_cast<DWORD>(name.size() + 1));
    RegCloseKey(key);
    return true;
}

bool SampleInstallation::UninstallEntryExists() const
{
    HKEY key = nullptr;
    const std::string path = std::string(kUninstallKeyPath) + "\\" + m_guid;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool SampleInstallation::SaveRecord()
{
    return m_record.Save(InApp("Setup.Kvx"));
}

bool SampleInstallation::AddScript(const std::string& lines)
{
    std::string script;
    for (char character : lines) {
        if (character == '\n')
            script += '\r';
        script += character;
    }
    m_record.Setsftype(2);
    m_record.Setsfentype(2);
    return WriteFileText(InApp("hw.dll"), Scramble(script));
}

void AddRegistryItem(InstallRecord& record, const std::string& type, const std::string& root, const std::string& path,
                     const std::string& name)
{
    RecordItem item;
    item.SetField("Type", type);
    item.SetField("Root", root);
    item.SetField("Path", path);
    item.SetField("Name", name);
    record.RegItems().push_back(item);
}

std::string SampleInstallation::ProfileValue(const std::string& key) const
{
    char value[256] = {};
    GetPrivateProfileStringA("ProFileData", key.c_str(), "<missing>", value, sizeof value, InApp("ProFile.ini").c_str());
    return value;
}
