// The "System" host object of the uninstaller: the function library that uninstall scripts
// call. Each method reads its arguments as texts, performs one system operation and leaves
// its result in the call's argument list; a failed operation shows only in its result.
#include "library/system_object.h"

#include "library/portable_system_object.h"
#include "script/argument_list.h"
#include "script/script_text.h"
#include "sysops/command_runner.h"
#include "sysops/environment_queries.h"
#include "sysops/file_ops.h"
#include "sysops/ini_file.h"
#include "sysops/launch.h"
#include "sysops/user_start.h"

#include <windows.h>

namespace {

std::string Text(const ArgumentList& arguments, std::size_t number) { return arguments.ArgText(number, true); }

void SetText(ArgumentList& arguments, const std::string& text) { arguments.SetResult(text, TypeString); }

void SetTruth(ArgumentList& arguments, bool truth) { arguments.SetResultInt(truth ? 1 : 0, TypeBool); }

void NewGuid(SystemObject&, ArgumentList& arguments, FunctionInstance*) { SetText(arguments, NewGuidText()); }

void CurrentDirectory(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    char folder[1024] = {};
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    SetText(arguments, length < sizeof folder ? std::string(folder, length) : std::string());
}

void ChangeCurrentDirectory(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    (void)SetCurrentDirectoryA(Text(arguments, 1).c_str());
}

void AppInstallLocation(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    UninstallEntry entry;
    (void)ReadUninstallEntry(Text(arguments, 1), entry);
    SetText(arguments, entry.installLocation);
}

void OsName(SystemObject&, ArgumentList& arguments, FunctionInstance*) { SetText(arguments, GetOsName()); }

void LanguageName(SystemObject&, ArgumentList& arguments, FunctionInstance*) { SetText(arguments, GetLanguageName()); }

void AppVersion(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    std::string component = Text(arguments, 1);
    SetText(arguments, component.empty() ? std::string() : GetComponentVersion(component));
}

void LaunchAndWait(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    LaunchProgram(Text(arguments, 1), Text(arguments, 2), LaunchWait::UntilEnded);
}

void OpenWithShell(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    std::string file = Text(arguments, 1);
    if (file.empty())
        return;
    (void)OpenForTheUser(file, Text(arguments, 2), Text(arguments, 3), SW_SHOWNORMAL);
}

void ConsoleCommand(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    CommandRunner runner;
    SetText(arguments, runner.Run(Text(arguments, 1), ReadDecimalInt(Text(arguments, 2))));
}

void FileExistence(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    SetTruth(arguments, FileExists(Text(arguments, 1)));
}

void FolderExistence(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    SetTruth(arguments, FolderExists(Text(arguments, 1)));
}

void CreateFolder(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    SetTruth(arguments, CreateFolderPath(Text(arguments, 1)));
}

void CopyOneFile(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    (void)CopyFileA(Text(arguments, 1).c_str(), Text(arguments, 2).c_str(), FALSE);
}

void DeleteOneFile(SystemObject&, ArgumentList& arguments, FunctionInstance*) { DeleteFileForced(Text(arguments, 1)); }

// The folder deletions are those of the uninstall itself: a drive root or a system folder
// is never emptied, and links inside are removed as links.
void EmptyFolder(SystemObject&, ArgumentList& arguments, FunctionInstance*) { DeleteFolderContents(Text(arguments, 1)); }

void DeleteFolder(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    SetTruth(arguments, DeleteFolderTree(Text(arguments, 1)));
}

void ReadWholeTextFile(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    std::string text;
    if (!ReadTextFile(Text(arguments, 1), text))
        text.clear();
    SetText(arguments, text);
}

void WriteWholeTextFile(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    bool append = ReadDecimalInt(Text(arguments, 3)) != 0;
    SetTruth(arguments, WriteTextFile(Text(arguments, 1), Text(arguments, 2), append));
}

void IniValue(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    SetText(arguments, ReadIniString(Text(arguments, 1), Text(arguments, 2), Text(arguments, 3), Text(arguments, 4)));
}

// True when the value was written, as WriteTextFile tells of its file.
void SetIniValue(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    SetTruth(arguments, WriteIniString(Text(arguments, 1), Text(arguments, 2), Text(arguments, 3), Text(arguments, 4)));
}

// The handlers of the names in SystemMethodNames.
const SystemObject::Handler SystemMethods[] = {
    {"NewGUID", NewGuid},
    {"GetCurrentDirectory", CurrentDirectory},
    {"SetCurrentDirectory", ChangeCurrentDirectory},
    {"GetAppInstallLocation", AppInstallLocation},
    {"GetCurOSName", OsName},
    {"GetCurOSLanguageName", LanguageName},
    {"GetCurLanguageName", LanguageName},
    {"GetAppVer", AppVersion},
    {"LaunchAppAndWait", LaunchAndWait},
    {"ShellExec", OpenWithShell},
    {"ExecConsoleCmd", ConsoleCommand},
    {"EnVOEStr", ScrambleTextMethod},
    {"DeVOEStr", UnscrambleTextMethod},
    {"ExistFile", FileExistence},
    {"ExistDir", FolderExistence},
    {"CreateDir", CreateFolder},
    {"CopyFile", CopyOneFile},
    {"DeleteFile", DeleteOneFile},
    {"DeleteDirData", EmptyFolder},
    {"DeleteDir", DeleteFolder},
    {"DeleteDirectory", DeleteFolder},
    {"ReadTextFile", ReadWholeTextFile},
    {"WriteTextFile", WriteWholeTextFile},
    {"GetIniFileValue", IniValue},
    {"SetIniFileValue", SetIniValue},
};

}

Counted<ScriptObject> MakeSystemObject() { return MakeCounted<SystemObject>(SystemMethods); }
