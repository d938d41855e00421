// A hostile record against the whole machine: every file under C:\ and every registry key and
// value an uninstall could reach are compared before and after, and the difference must be
// what the record names and may go.

#include "tests/support/file_links.h"
#include "tests/support/fixtures.h"
#include "tests/support/sample_installation.h"
#include "tests/support/scratch_key.h"
#include "tests/support/window_driver.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <map>
#include <set>
#include <vector>

namespace {

using Snapshot = std::map<std::string, std::string>;

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

// Wine links the profile's shell folders to the Unix home folder, outside the prefix; they are
// not walked.
std::set<std::string> FoldersOutsideThePrefix()
{
    std::set<std::string> folders;
    for (int id : {CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_MYMUSIC, CSIDL_MYPICTURES, CSIDL_MYVIDEO, CSIDL_TEMPLATES}) {
        char path[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)))
            folders.insert(Lowered(path));
    }
    char profile[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile)))
        folders.insert(Lowered(std::string(profile) + "\\Downloads"));
    return folders;
}

// Every file (size and write time) and folder under folder; links are listed, not followed.
void SnapshotFiles(const std::string& folder, Snapshot& snapshot)
{
    static const std::set<std::string> outside = FoldersOutsideThePrefix();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = Lowered(folder + "\\" + name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            snapshot[path] = "link";
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            snapshot[path] = "folder";
            if (!outside.count(path))
                SnapshotFiles(folder + "\\" + name, snapshot);
        } else {
            snapshot[path] = std::to_string(found.nFileSizeLow) + "/" + std::to_string(found.ftLastWriteTime.dwLowDateTime)
                + "/" + std::to_string(found.ftLastWriteTime.dwHighDateTime);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Every key and value (type and data) under a key, in the view given, down to depth levels.
void SnapshotKeys(HKEY parent, const std::string& path, const std::string& label, REGSAM view, Snapshot& snapshot,
                  int depth = 64)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return;
    snapshot[Lowered(label)] = "key";
    char name[16384];
    static std::vector<BYTE> data(1 << 16);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name;
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LONG result = RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data.data(), &size);
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)
            break;
        if (result == ERROR_SUCCESS)
            snapshot[Lowered(label + "::" + name)] = std::to_string(type) + ":" + std::string(data.begin(), data.begin() + size);
    }
    std::vector<std::string> subkeys;
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    // The 32-bit view is walked as a view of its own; Wine links Wow6432Node keys into each
    // other, which a walk by name would follow round in circles.
    if (depth == 0)
        return;
    for (const std::string& subkey : subkeys) {
        if (Lowered(subkey) != "wow6432node")
            SnapshotKeys(parent, path + "\\" + subkey, label + "\\" + subkey, view, snapshot, depth - 1);
    }
}

Snapshot SnapshotMachine()
{
    Snapshot snapshot;
    SnapshotFiles("C:", snapshot);
    SnapshotKeys(HKEY_LOCAL_MACHINE, "Software", "HKLM\\Software", KEY_WOW64_64KEY, snapshot);
    SnapshotKeys(HKEY_LOCAL_MACHINE, "Software", "HKLM32\\Software", KEY_WOW64_32KEY, snapshot);
    SnapshotKeys(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services", "HKLM\\Services", 0, snapshot);
    SnapshotKeys(HKEY_CURRENT_USER, "Software", "HKCU\\Software", 0, snapshot);
    return snapshot;
}

// Entries of before that are missing or different after, and entries new in after.
void Compare(const Snapshot& before, const Snapshot& after, std::set<std::string>& gone, std::set<std::string>& changed)
{
    for (const auto& [path, state] : before) {
        const auto found = after.find(path);
        if (found == after.end())
            gone.insert(path);
        else if (found->second != state)
            changed.insert(path);
    }
    for (const auto& [path, state] : after) {
        if (!before.count(path))
            changed.insert(path);
    }
}

// The cleanup copy's work folder in the temp folder, or the copy in it.
bool IsCleanupCopyPath(const std::string& path)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    char full[MAX_PATH] = {};
    GetLongPathNameA(temp, full, MAX_PATH);
    const std::string folder = Lowered(std::string(full) + "UnInstall-");
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    return path.compare(0, folder.size(), folder) == 0 && (path.find('\\', folder.size()) == std::string::npos || name == "strkvtemp.exe");
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::wstring LongForm(const std::string& path) { return L"\\\\?\\" + std::wstring(path.begin(), path.end()); }

// A profile of another account, listed where Windows lists profiles: its documents, an empty
// known folder, and an UnInstall.exe planted so that only the judge of paths keeps it.
struct OtherUsersProfile {
    std::string folder = "C:\\users\\otheruser";
    std::string key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-19-19-19-"
        + std::to_string(GetCurrentProcessId());

    OtherUsersProfile()
    {
        EXPECT_TRUE(MakeFolder(folder) && MakeFolder(folder + "\\Documents") && MakeFolder(folder + "\\Favorites"));
        EXPECT_TRUE(WriteFileText(folder + "\\Documents\\Letter.doc", "keep"));
        EXPECT_TRUE(CopyFileA((TestProgramFolder() + "\\UnInstall.exe").c_str(), (folder + "\\UnInstall.exe").c_str(), FALSE));
        EXPECT_TRUE(PutValue(HKEY_LOCAL_MACHINE, key, "ProfileImagePath", REG_SZ, folder));
    }
    ~OtherUsersProfile()
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
        DeleteFileA((folder + "\\UnInstall.exe").c_str());
        DeleteFileA((folder + "\\Documents\\Letter.doc").c_str());
        for (const char* sub : {"\\Documents", "\\Favorites", ""})
            RemoveDirectoryA((folder + sub).c_str());
    }
};

// A record that names the sample's own files, folders and keys beside drive roots, system
// folders, shared keys, a link out of the tree, another user's profile and a group whose path
// is too long to be listed with a user's shortcut in it; its uninstall folder is named in the
// long form. Its registry keys go with it.
struct HostileInstallation {
    SampleInstallation installation{"machine"};
    OtherUsersProfile other;
    std::string scratch;
    std::string sentinel;
    std::string longGroup;
    std::string copy;           // a cleanup copy for the command lines that no uninstaller gives
    std::string noUninstaller;  // a folder that holds no UnInstall.exe
    std::string elsewhere;      // an uninstaller's folder that the waited process did not run from
    std::string key = "Software\\UnInstallTests\\Machine-" + std::to_string(GetCurrentProcessId());
    bool linked = false;
    bool view32 = false;

    HostileInstallation();
    ~HostileInstallation()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
        RunReg("delete \"HKLM\\" + key + "32\" /f /reg:32");
        DeleteFileW((LongForm(longGroup) + L"\\Mine.lnk").c_str());
        RemoveDirectoryW(LongForm(longGroup).c_str());
    }
};

HostileInstallation::HostileInstallation()
{
    InstallRecord& record = installation.Record();
    scratch = installation.AppFolder().substr(0, installation.AppFolder().rfind('\\'));
    installation.AddFolder("Bin");
    installation.AddFile("Bin\\App.exe");
    installation.AddFile("Bin\\Kept.dat").SetIntField("Uninstall", 1);
    sentinel = scratch + "\\Sentinel";
    EXPECT_TRUE(MakeFolder(sentinel) && MakeFolder(sentinel + "\\Empty"));
    EXPECT_TRUE(WriteFileText(sentinel + "\\Precious.doc", "keep"));
    linked = MakeFolderLink(installation.InApp("Data"), sentinel);

    EXPECT_TRUE(PutValue(HKEY_CURRENT_USER, key + "\\App\\Sub", "v", REG_SZ, "x"));
    EXPECT_TRUE(PutValue(HKEY_LOCAL_MACHINE, key, "InstallDir", REG_SZ, "C:\\App"));
    EXPECT_TRUE(PutValue(HKEY_LOCAL_MACHINE, key, "Other", REG_SZ, "stays"));
    view32 = RunReg("add \"HKLM\\" + key + "32\\App\" /v v /d x /f /reg:32");
    const auto add = [&record](const std::string& type, const std::string& root, const std::string& path,
                               const std::string& name) { AddRegistryItem(record, type, root, path, name); };
    add("Key", "HKEY_CURRENT_USER", key, "App");
    add("Value", "HKEY_LOCAL_MACHINE", key, "InstallDir");
    add("Key", "HKEY_LOCAL_MACHINE", key + "32", "App");
    // The hostile part: roots, system folders, shared keys, a link out of the tree.
    for (const char* path : {"C:\\", "C:\\windows", "C:\\windows\\system32", "C:\\users"}) {
        RecordItem folder;
        folder.SetField("DirName", path);
        record.CreateDirs().push_back(folder);
        RecordItem file;
        file.SetField("FileName", path);
        record.CopyFiles().push_back(file);
    }
    RecordItem link;
    link.SetField("DirName", installation.InApp("Data"));
    record.CreateDirs().push_back(link);
    // Paths through that link, as a user who can write a recorded folder could plant it.
    RecordItem throughLink;
    throughLink.SetField("DirName", installation.InApp("Data\\Empty"));
    record.CreateDirs().push_back(throughLink);
    RecordItem fileThroughLink;
    fileThroughLink.SetField("FileName", installation.InApp("Data\\Precious.doc"));
    record.CopyFiles().push_back(fileThroughLink);
    copy = scratch + "\\Copy\\strKVTemp.exe";
    noUninstaller = scratch + "\\NoUninstaller";
    elsewhere = scratch + "\\Elsewhere";
    EXPECT_TRUE(MakeFolder(scratch + "\\Copy") && MakeFolder(noUninstaller) && MakeFolder(elsewhere));
    EXPECT_TRUE(CopyFileA((TestProgramFolder() + "\\UnInstall.exe").c_str(), copy.c_str(), FALSE));
    EXPECT_TRUE(CopyFileA(copy.c_str(), (elsewhere + "\\UnInstall.exe").c_str(), FALSE));
    EXPECT_TRUE(WriteFileText(noUninstaller + "\\Data.txt", "keep") && WriteFileText(elsewhere + "\\Data.txt", "keep"));
    // 259 characters: the listing's "\\*.*" no longer fits MAX_PATH.
    longGroup = scratch + "\\" + std::string(258 - scratch.size(), 'G');
    EXPECT_TRUE(CreateDirectoryW(LongForm(longGroup).c_str(), nullptr));
    HANDLE shortcut = CreateFileW((LongForm(longGroup) + L"\\Mine.lnk").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, shortcut) << "the user's shortcut in the long group";
    CloseHandle(shortcut);
    for (const std::string& group : {longGroup, other.folder + "\\Favorites", std::string("C:\\users")}) {
        RecordItem item;
        item.SetField("Type", "Group");
        item.SetField("Path", group);
        record.ShellObjects().push_back(item);
    }
    add("Key", "HKEY_LOCAL_MACHINE", "", "SOFTWARE");
    add("Key", "HKEY_CLASSES_ROOT", "", "CLSID");
    add("Key", "HKEY_CURRENT_USER", "Software", "Microsoft");
    add("Key", "HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion", "Uninstall");
    record.SetGUID("");
    record.SetDescPath("\\\\?\\C:\\windows");
    record.SetUnInstallFolder("\\\\?\\" + installation.AppFolder());
    EXPECT_TRUE(installation.SaveRecord());
    // Earlier duplicates of the Comm keys: the record's last value is the one of every step.
    const std::string saved = ReadFileText(installation.InApp("Setup.Kvx"));
    EXPECT_TRUE(WriteFileText(installation.InApp("Setup.Kvx"),
                              "[Comm]\r\nUnInstallFolder=" + sentinel + "\r\nAppName=Decoy App\r\n" + saved));
}

// The cleanup copy started with what a damaged record or a stray command line could give it.
void RunHostileCleanupCopies(const HostileInstallation& hostile)
{
    StartedProcess sleeper(Quoted(FixturePath("fixture_sleeper.exe")) + " 3000");
    EXPECT_NE(0u, sleeper.Id());
    for (const std::string& argument :
         {"0,\\\\?\\" + hostile.other.folder, "0,\\\\.\\" + hostile.other.folder, "0," + hostile.noUninstaller,
          std::to_string(sleeper.Id()) + "," + hostile.elsewhere}) {
        SCOPED_TRACE(argument);
        ProgramUnderTest program;
        ASSERT_TRUE(program.Start(hostile.copy, Quoted(argument)));
        EXPECT_TRUE(program.WaitForExit());
    }
}

}

TEST(WholeMachine, HostileRecordRemovesOnlyWhatItNamesAndMayGo)
{
    HostileInstallation hostile;
    SampleInstallation& installation = hostile.installation;
    const std::string& key = hostile.key;
    ASSERT_FALSE(HasFailure());

    const Snapshot before = SnapshotMachine();
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    HWND question = WaitForWindow("Sample App", "#32770", program.ProcessId());
    ASSERT_NE(nullptr, question);
    PressButton(question, IDYES);
    HWND finish = WaitForWindow("Uninstall Sample App", "#32770", program.ProcessId());
    ASSERT_NE(nullptr, finish) << "the run did not reach the finish page";
    PressButton(finish, IDOK);
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_TRUE(WaitForPathGone(installation.InApp("UnInstall.exe"))) << "the cleanup copy ran";
    RunHostileCleanupCopies(hostile);
    Sleep(500);
    const Snapshot after = SnapshotMachine();

    std::set<std::string> gone;
    std::set<std::string> changed;
    Compare(before, after, gone, changed);
    const std::set<std::string> mustGo = {
        Lowered(installation.InProgram("Bin\\App.exe")), Lowered(installation.InApp("Setup.Kvx")),
        Lowered(installation.InApp("UnInstall.exe")), Lowered("HKCU\\" + key + "\\App"),
        Lowered("HKCU\\" + key + "\\App\\Sub"), Lowered("HKCU\\" + key + "\\App\\Sub::v"),
        Lowered("HKLM\\" + key + "::InstallDir")};
    std::set<std::string> mayGo = mustGo;
    // Where links cannot be removed (Wine), the link and so the uninstall folder stay.
    mayGo.insert(Lowered(installation.AppFolder()));
    if (hostile.linked)
        mayGo.insert(Lowered(installation.InApp("Data")));
    if (hostile.view32) {
        for (const std::string& entry : {"HKLM32\\" + key + "32\\App", "HKLM32\\" + key + "32\\App::v"}) {
            EXPECT_TRUE(gone.count(Lowered(entry))) << entry;
            mayGo.insert(Lowered(entry));
        }
    }
    for (const std::string& path : mustGo)
        EXPECT_TRUE(gone.count(path)) << path << " should have gone";
    for (const std::string& path : gone)
        EXPECT_TRUE(mayGo.count(path)) << path << " went, though nothing allowed it";
    for (const std::string& path : changed)
        EXPECT_TRUE(IsCleanupCopyPath(path)) << path << ": only the cleanup copy is new";
    EXPECT_EQ("keep", ReadFileText(hostile.sentinel + "\\Precious.doc"));
    EXPECT_TRUE(PathExists(hostile.sentinel + "\\Empty"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((LongForm(hostile.longGroup) + L"\\Mine.lnk").c_str()))
        << "the user's shortcut in a group too long to list";
}

TEST(WholeMachine, PreviewOfAHostileRecordChangesNothing)
{
    HostileInstallation hostile;
    // An uninstall folder that is not the uninstaller's own.
    hostile.installation.Record().SetUnInstallFolder(hostile.noUninstaller);
    ASSERT_TRUE(hostile.installation.SaveRecord());
    ASSERT_FALSE(HasFailure());
    // The log lies outside the drive that the snapshots cover.
    const std::string log = "Z:\\tmp\\uninstall-preview-" + std::to_string(GetCurrentProcessId()) + ".log";

    const Snapshot before = SnapshotMachine();
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(hostile.installation.UninstallerPath(), "/PREVIEW \"/LOG=" + log + "\""));
    EXPECT_TRUE(program.WaitForExit());
    EXPECT_EQ(0u, program.ExitCode());
    Sleep(500); // a wrongly started cleanup copy would have begun by now
    const Snapshot after = SnapshotMachine();

    std::set<std::string> gone;
    std::set<std::string> changed;
    Compare(before, after, gone, changed);
    EXPECT_TRUE(gone.empty()) << *gone.begin() << " went";
    EXPECT_TRUE(changed.empty()) << *changed.begin() << " changed";
    const std::string report = ReadFileText(log);
    for (const std::string& line : {std::string("record folder    \\\\?\\C:\\windows  (refused as a protected path)"),
                                     "shell object     Group," + hostile.other.folder + "\\Favorites  (another user's profile)",
                                     "shell object     Group," + hostile.longGroup + "  (holds entries that could not be listed)",
                                     "uninstall folder " + hostile.noUninstaller + "  (not the uninstaller's folder)"})
        EXPECT_NE(std::string::npos, report.find("would keep   " + line)) << line << "\n" << report;
    if (hostile.linked) {
        const std::string::size_type file = report.find("Data\\Precious.doc");
        EXPECT_NE(std::string::npos, report.find("reached through a link)", file)) << report;
    }
    EXPECT_NE(std::string::npos, report.find("(a key that all programs share)")) << report;
    DeleteFileA(log.c_str());
}

TEST(WholeMachine, RecordWithLineFeedsOnlyChangesNothing)
{
    // Lines end only at a carriage return: such a record is one line that names nothing, not
    // even an uninstall folder, so the uninstaller stays beside its record.
    SampleInstallation installation("lfonly");
    installation.AddFile("App.exe");
    ASSERT_TRUE(installation.SaveRecord());
    std::string text = ReadFileText(installation.InApp("Setup.Kvx"));
    for (std::string::size_type at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    ASSERT_TRUE(WriteFileText(installation.InApp("Setup.Kvx"), text));

    const Snapshot before = SnapshotMachine();
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath(), "/S"));
    EXPECT_TRUE(program.WaitForExit());
    Sleep(500); // a wrongly started cleanup copy would have begun by now
    std::set<std::string> gone;
    std::set<std::string> changed;
    Compare(before, SnapshotMachine(), gone, changed);
    EXPECT_TRUE(gone.empty()) << *gone.begin() << " went";
    EXPECT_TRUE(changed.empty()) << *changed.begin() << " changed";
}
