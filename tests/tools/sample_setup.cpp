// A miniature installer for the demo and the benchmark: lays a sample application into a
// folder the way the product's installer would, and writes its Setup.Kvx with the record
// writer. With --census it reads a saved copy of that record and tells, item by item, what the
// uninstall removed and what stayed.
//
//   sample_setup.exe install APP-FOLDER DESC-FOLDER [FILES FOLDERS REGISTRY-ITEMS]
//     (the uninstaller and Setup.Kvx go into APP-FOLDER\Uninstall)
//   sample_setup.exe install-scripted APP-FOLDER DESC-FOLDER
//     a second, smaller sample whose uninstall is conducted by a scrambled VoScript script
//   sample_setup.exe census RECORD-COPY DESC-FOLDER
//   sample_setup.exe from-manifest MANIFEST REG-FILE APP-FOLDER APP-NAME
//     writes the record of an application laid out by another tool, from its manifest
//     ("F file", "D folder", "K HKLM|HKCU key" lines) and the .reg file of its values.

#include "app/flows/scrambled_text.h"
#include "app/run/uninstall_state.h"
#include "record/install_record.h"
#include "sysops/procedure_address.h"
#include "tests/support/sample_installation.h"
#include "tests/support/scratch_key.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kGuid = "{5A3C1E2B-7D44-4C1A-9F0E-5A11DE5A0001}";
constexpr const char* kMakerKey = "Software\\Sample Maker";
constexpr const char* kAppName = "Sample App";

bool WriteText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return true;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

constexpr const char* kServiceName = "SampleAppService";

std::string ProgramsMenu()
{
    char folder[MAX_PATH] = {};
    GetEnvironmentVariableA("ProgramData", folder, MAX_PATH);
    return std::string(folder) + "\\Microsoft\\Windows\\Start Menu\\Programs";
}

void StartSampleProgram(const std::string& path)
{
    std::string commandLine = "\"" + path + "\" 600000";
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void InstallService(const std::string& path)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return;
    SC_HANDLE service = CreateServiceA(manager, kServiceName, "Sample App Service", SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
        SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    if (service) {
        StartServiceA(service, 0, nullptr);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
}

void RegisterServer(const std::string& path)
{
    HMODULE library = LoadLibraryA(path.c_str());
    if (!library)
        return;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    if (auto registerServer = ProcedureAddress<Entry>(library, "DllRegisterServer"))
        registerServer();
    FreeLibrary(library);
}

bool ServiceInstalled()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return false;
    SC_HANDLE service = OpenServiceA(manager, kServiceName, SERVICE_QUERY_CONFIG);
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

bool ProgramRunning(const std::string& exeName)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {sizeof entry};
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
        found = _stricmp(entry.szExeFile, exeName.c_str()) == 0;
    CloseHandle(snapshot);
    return found;
}

std::string ExeFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\'));
}

void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

class Installer {
public:
    explicit Installer(std::string appFolder) : m_appFolder(std::move(appFolder)) {}

    RecordItem& File(const std::string& relative, const std::string& text)
    {
        const std::string path = m_appFolder + "\\" + relative;
        WriteText(path, text);
        RecordItem item;
        item.SetField("FileName", path);
        m_record.CopyFiles().push_back(item);
        return m_record.CopyFiles().back();
    }

    void Folder(const std::string& relative)
    {
        const std::string path = m_appFolder + "\\" + relative;
        CreateDirectoryA(path.c_str(), nullptr);
        RecordItem item;
        item.SetField("DirName", path);
        m_record.CreateDirs().push_back(item);
    }

    void Registry(const char* type, const char* root, const std::string& path, const std::string& name, const std::string& data)
    {
        SetString(std::string(root) == "HKEY_LOCAL_MACHINE" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
            std::string(type) == std::string("Key") ? path + "\\" + name : path,
            std::string(type) == std::string("Key") ? "Version" : name, data);
        RecordItem item;
        item.SetField("Type", type);
        item.SetField("Root", root);
        item.SetField("Path", path);
        item.SetField("Name", name);
        if (std::string(type) == "Value") {
            item.SetField("DataType", "0");
            item.SetField("Data", data);
        }
        m_record.RegItems().push_back(item);
    }

    RecordItem& CopyIn(const std::string& fixture, const std::string& relative)
    {
        const std::string path = m_appFolder + "\\" + relative;
        CopyFileA((ExeFolder() + "\\" + fixture).c_str(), path.c_str(), FALSE);
        RecordItem item;
        item.SetField("FileName", path);
        m_record.CopyFiles().push_back(item);
        return m_record.CopyFiles().back();
    }

    void ShellObject(const char* type, const std::string& path)
    {
        RecordItem item;
        item.SetField("Type", type);
        item.SetField("Path", path);
        m_record.ShellObjects().push_back(item);
    }

    InstallRecord& Record() { return m_record; }

private:
    std::string m_appFolder;
    InstallRecord m_record;
};

// The uninstaller and its record go into the Uninstall folder of the application; the cleanup
// copy deletes that folder at the end.
bool PlaceUninstaller(const std::string& appFolder)
{
    const std::string uninstallFolder = appFolder + "\\Uninstall";
    CreateDirectoryA(appFolder.c_str(), nullptr);
    CreateDirectoryA(uninstallFolder.c_str(), nullptr);
    if (CopyFileA((ExeFolder() + "\\UnInstall.exe").c_str(), (uninstallFolder + "\\UnInstall.exe").c_str(), FALSE))
        return true;
    std::printf("cannot copy UnInstall.exe into %s\n", uninstallFolder.c_str());
    return false;
}

// The uninstaller and its record go into the Uninstall folder of the application; the cleanup
// copy deletes that folder at the end, while the application folder keeps what the removal
// policies keep.
int Install(const std::string& appFolder, const std::string& descFolder, int files, int folders, int registryItems)
{
    if (!PlaceUninstaller(appFolder))
        return 1;
    const std::string uninstallFolder = appFolder + "\\Uninstall";
    Installer installer(appFolder);

    // The sample: files under every kind of removal policy, nested folders, a file of the
    // user that the uninstall must leave, registry keys and values, a description folder.
    // A program that is running when the uninstall starts, a service that runs an installed
    // executable, and a COM server the installation registered: the test fixtures built
    // beside this tool play them.
    installer.CopyIn("fixture_sleeper.exe", "Sample.exe");
    installer.CopyIn("fixture_service.exe", "SampleService.exe").SetIntField("RegType", 2);
    installer.CopyIn("fixture_com_server.dll", "SampleServer.dll").SetIntField("RegType", 1);
    installer.File("readme.txt", "always removed");
    installer.File("settings.ini", "kept: policy 1").SetIntField("Uninstall", 1);
    RecordItem& shared = installer.File("shared.dll", "kept: an update the installer did not own");
    shared.SetIntField("Uninstall", 0);
    shared.SetIntField("UpdateType", 3);
    installer.Folder("data");
    installer.Folder("data\\cache");
    installer.File("data\\cache\\index.dat", "removed");
    installer.Folder("docs");
    installer.File("docs\\guide.txt", "removed");
    WriteText(appFolder + "\\docs\\my-notes.txt", "a file of the user: stays, and so does docs");

    for (int folder = 0; folder < folders; ++folder)
        installer.Folder("bulk" + std::to_string(folder));
    for (int file = 0; file < files; ++file)
        installer.File("bulk" + std::to_string(folders ? file % folders : 0) + "\\file" + std::to_string(file) + ".bin",
            std::string(1024 + (file % 3) * 1024, 'x'));

    installer.Registry("Key", "HKEY_LOCAL_MACHINE", kMakerKey, kAppName, "1.0");
    installer.Registry("Value", "HKEY_CURRENT_USER", std::string(kMakerKey) + "\\Shared", "SampleAppPath", appFolder);
    SetString(HKEY_CURRENT_USER, std::string(kMakerKey) + "\\Shared", "OtherProduct", "not ours: stays");
    for (int value = 0; value < registryItems; ++value)
        installer.Registry("Value", value % 2 ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER",
            std::string(kMakerKey) + "\\Bulk" + std::to_string(value / 20), "Value" + std::to_string(value), "data");

    StartSampleProgram(appFolder + "\\Sample.exe");
    InstallService(appFolder + "\\SampleService.exe");
    RegisterServer(appFolder + "\\SampleServer.dll");
    const std::string group = ProgramsMenu() + "\\Sample App";
    CreateDirectoryA(group.c_str(), nullptr);
    WriteText(group + "\\Sample App.lnk", "L");
    installer.ShellObject("Group", group);
    installer.ShellObject("Shortcut", group + "\\Sample App.lnk");

    CreateDirectoryA(descFolder.c_str(), nullptr);
    CreateDirectoryA((descFolder + "\\Empty").c_str(), nullptr);
    CreateDirectoryA((descFolder + "\\Empty\\Deeper").c_str(), nullptr);

    const std::string uninstallEntry = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kGuid;
    SetString(HKEY_LOCAL_MACHINE, uninstallEntry, "DisplayName", kAppName);
    SetString(HKEY_LOCAL_MACHINE, uninstallEntry, "UninstallString", uninstallFolder + "\\UnInstall.exe");

    InstallRecord& record = installer.Record();
    record.SetUnInstallFolder(uninstallFolder);
    record.SetAppName(kAppName);
    record.SetGUID(kGuid);
    record.SetDescPath(descFolder);
    if (!record.Save(uninstallFolder + "\\Setup.Kvx")) {
        std::printf("cannot write Setup.Kvx\n");
        return 1;
    }
    std::printf("installed %s: %zu files, %zu folders, %zu registry items\n", kAppName, record.CopyFiles().size(),
        record.CreateDirs().size(), record.RegItems().size());
    return 0;
}

constexpr const char* kScriptedGuid = "{5A3C1E2B-7D44-4C1A-9F0E-5A11DE5A0002}";
constexpr const char* kScriptedName = "Scripted Sample";

// The uninstall script of the second sample: a waiting box while it prepares, the progress
// page, and a finish page that offers to open a farewell note; what happened goes into
// ProFile.ini beside the uninstaller.
constexpr const char* kScriptedUninstall =
    "Section OnUninstallBegin\r\n{\r\n"
    "var CWndParam waiting\r\n"
    "waiting.SetValue(\"Prompt\", \"Preparing to remove Scripted Sample...\")\r\n"
    "Uninstall.ShowSWaitingDlg(waiting)\r\n"
    "Uninstall.WriteProfileString(\"Product\", Uninstall.GetCurAppID())\r\n"
    "}\r\n"
    "Section OnUninstallProcess\r\n{\r\n"
    "Uninstall.DoDialog(\"SdUninstallProcess\")\r\n"
    "Uninstall.CloseSWaitingDlg()\r\n"
    "Uninstall.WriteProfileInt(\"Removed\", \"01\")\r\n"
    "}\r\n"
    "Section OnUninstallEnd\r\n{\r\n"
    "var CWndParam finish\r\n"
    "finish.SetValue(\"LaunchCount\", 1)\r\n"
    "finish.SetValue(\"Launch1_Cmd\", \"notepad.exe\")\r\n"
    "finish.SetValue(\"Launch1_Prompt\", \"Open the farewell note\")\r\n"
    "finish.SetValue(\"Launch1_Data\", 0)\r\n"
    "Uninstall.WriteProfileString(\"Finish\", Uninstall.DoDialog(\"SdUninstallFinish\", finish))\r\n"
    "Uninstall.WriteProfileString(\"FarewellNote\", finish.GetValue(\"Launch1_Data\"))\r\n"
    "}\r\n";

int InstallScripted(const std::string& appFolder, const std::string& descFolder)
{
    if (!PlaceUninstaller(appFolder))
        return 1;
    const std::string uninstallFolder = appFolder + "\\Uninstall";
    Installer installer(appFolder);
    installer.File("readme.txt", "removed by the progress page the script opens");
    installer.Folder("bin");
    installer.File("bin\\tool.dat", "removed");
    installer.Registry("Key", "HKEY_CURRENT_USER", kMakerKey, kScriptedName, "1.0");
    CreateDirectoryA(descFolder.c_str(), nullptr);

    const std::string uninstallEntry = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kScriptedGuid;
    SetString(HKEY_LOCAL_MACHINE, uninstallEntry, "DisplayName", kScriptedName);
    if (!WriteText(uninstallFolder + "\\hw.dll", Scramble(kScriptedUninstall))) {
        std::printf("cannot write the uninstall script\n");
        return 1;
    }
    InstallRecord& record = installer.Record();
    record.SetUnInstallFolder(uninstallFolder);
    record.SetAppName(kScriptedName);
    record.SetGUID(kScriptedGuid);
    record.SetDescPath(descFolder);
    record.Setsftype(kScriptTypeVoScript);
    record.Setsfentype(kScriptFilesScrambled);
    if (!record.Save(uninstallFolder + "\\Setup.Kvx")) {
        std::printf("cannot write Setup.Kvx\n");
        return 1;
    }
    std::printf("installed %s with a scrambled uninstall script: %zu files, %zu folders, %zu registry items\n",
        kScriptedName, record.CopyFiles().size(), record.CreateDirs().size(), record.RegItems().size());
    return 0;
}

void Report(const char* what, const std::string& name, bool stayed, int& removed, int& kept, bool verbose)
{
    (stayed ? kept : removed)++;
    if (verbose)
        std::printf("  %-7s %-8s %s\n", stayed ? "stayed" : "removed", what, name.c_str());
}

int Census(const std::string& recordCopy, const std::string& descFolder)
{
    InstallRecord record;
    if (!record.Load(recordCopy)) {
        std::printf("cannot read %s\n", recordCopy.c_str());
        return 1;
    }
    int removed = 0, kept = 0;
    const bool verbose = record.CopyFiles().size() < 100;
    for (const auto& item : record.CopyFiles())
        Report("file", item.Field("FileName"), Exists(item.Field("FileName")), removed, kept, verbose);
    for (const auto& item : record.CreateDirs())
        Report("folder", item.Field("DirName"), Exists(item.Field("DirName")), removed, kept, verbose);
    for (const auto& item : record.RegItems()) {
        HKEY root = item.Field("Root") == "HKEY_LOCAL_MACHINE" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        const bool isKey = item.Field("Type") == "Key";
        const std::string name = item.Field("Root") + "\\" + item.Field("Path") + "\\" + item.Field("Name");
        const bool stayed = isKey ? KeyExists(root, item.Field("Path") + "\\" + item.Field("Name"))
                                  : ValueExists(root, item.Field("Path"), item.Field("Name"));
        Report(isKey ? "key" : "value", name, stayed, removed, kept, verbose);
    }
    if (!record.ShellObjects().empty()) {
        for (const auto& item : record.ShellObjects())
            Report("shell", item.Field("Path"), Exists(item.Field("Path")), removed, kept, verbose);
        Report("service", kServiceName, ServiceInstalled(), removed, kept, true);
        Report("process", "Sample.exe (running program)", ProgramRunning("Sample.exe"), removed, kept, true);
        Report("server", "HKCU\\Software\\UnInstallTests\\ComServers\\SampleServer.dll",
            KeyExists(HKEY_CURRENT_USER, "Software\\UnInstallTests\\ComServers\\SampleServer.dll"), removed, kept, true);
    }
    Report("entry", std::string("Uninstall\\") + record.GetGUID(),
        KeyExists(HKEY_LOCAL_MACHINE, std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + record.GetGUID()),
        removed, kept, true);
    Report("desc", descFolder, Exists(descFolder), removed, kept, true);
    Report("folder", record.GetUnInstallFolder() + " (uninstall folder)", Exists(record.GetUnInstallFolder()), removed, kept, true);
    std::printf("census: %d removed, %d stayed\n", removed, kept);
    return 0;
}

std::string RootName(const std::string& shortName)
{
    return shortName == "HKLM" ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

// Values of a REGEDIT4 file: a [ROOT\path] line opens a key, "name"=... lines are its values.
void AddRegistryValues(InstallRecord& record, const std::string& regFile)
{
    std::ifstream file(regFile);
    std::string line, root, path;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            const std::string key = line.substr(1, line.size() - 2);
            const auto slash = key.find('\\');
            root = key.substr(0, slash);
            path = slash == std::string::npos ? "" : key.substr(slash + 1);
        } else if (line.size() > 2 && line.front() == '"' && !root.empty()) {
            const auto close = line.find('"', 1);
            if (close != std::string::npos)
                AddRegistryItem(record, "Value", root, path, line.substr(1, close - 1));
        }
    }
}

int FromManifest(const std::string& manifest, const std::string& regFile, const std::string& appFolder, const std::string& appName)
{
    std::ifstream file(manifest);
    if (!file) {
        std::printf("cannot read %s\n", manifest.c_str());
        return 1;
    }
    InstallRecord record;
    std::vector<std::string> folders;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() < 3)
            continue;
        const std::string rest = line.substr(2);
        if (line[0] == 'F') {
            RecordItem item;
            item.SetField("FileName", rest);
            record.CopyFiles().push_back(item);
        } else if (line[0] == 'D') {
            folders.push_back(rest);
        } else if (line[0] == 'K') {
            const auto blank = rest.find(' ');
            const std::string key = rest.substr(blank + 1);
            const auto slash = key.rfind('\\');
            AddRegistryItem(record, "Key", RootName(rest.substr(0, blank)), key.substr(0, slash), key.substr(slash + 1));
        }
    }
    // The installer created parents before their children; the uninstall walks the list back.
    std::stable_sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    for (const auto& folder : folders) {
        RecordItem item;
        item.SetField("DirName", folder);
        record.CreateDirs().push_back(item);
    }
    AddRegistryValues(record, regFile);
    if (!CopyFileA((ExeFolder() + "\\UnInstall.exe").c_str(), (appFolder + "\\UnInstall.exe").c_str(), FALSE)) {
        std::printf("cannot copy UnInstall.exe into %s\n", appFolder.c_str());
        return 1;
    }
    record.SetUnInstallFolder(appFolder);
    record.SetAppName(appName);
    record.SetGUID(appName);
    return record.Save(appFolder + "\\Setup.Kvx") ? 0 : 1;
}

}

int main(int argumentCount, char** arguments)
{
    const std::string verb = argumentCount > 1 ? arguments[1] : "";
    if (verb == "install" && argumentCount >= 4) {
        const int files = argumentCount > 4 ? std::atoi(arguments[4]) : 0;
        const int folders = argumentCount > 5 ? std::atoi(arguments[5]) : 0;
        const int registryItems = argumentCount > 6 ? std::atoi(arguments[6]) : 0;
        return Install(arguments[2], arguments[3], files, folders, registryItems);
    }
    if (verb == "install-scripted" && argumentCount >= 4)
        return InstallScripted(arguments[2], arguments[3]);
    if (verb == "census" && argumentCount >= 4)
        return Census(arguments[2], arguments[3]);
    if (verb == "from-manifest" && argumentCount >= 6)
        return FromManifest(arguments[2], arguments[3], arguments[4], arguments[5]);
    std::fprintf(stderr, "usage: sample_setup install APP-FOLDER DESC-FOLDER [FILES FOLDERS REGISTRY-ITEMS]\n"
                         "       sample_setup install-scripted APP-FOLDER DESC-FOLDER\n"
                         "       sample_setup census RECORD-COPY DESC-FOLDER\n"
                         "       sample_setup from-manifest MANIFEST REG-FILE APP-FOLDER APP-NAME\n");
    return 2;
}
