// voscript [OPTION...] SCRIPT-FILE FUNCTION [ARG...]
// voscript [OPTION...] --events SCRIPT-FILE-OR-UNINSTALL-FOLDER
// voscript [OPTION...] --trace ...           (each statement, stored value and host call to standard error)
// voscript --check [--scrambled] SCRIPT-FILE...
// voscript --list
// voscript --scramble IN OUT  |  voscript --unscramble IN OUT
// voscript --help
//
// Lets the author of an uninstall script check it: loads the script as the uninstaller loads
// it, with the uninstaller's host objects and constants, and either calls FUNCTION as the host
// calls an event function, with each ARG as one text argument, or, with --events, runs
// OnUninstallBegin, OnUninstallProcess and OnUninstallEnd in the order and by the rules of the
// uninstaller. Given a folder, --events walks it as the uninstaller walks its uninstall folder:
// Setup.Kvx, then hw.dll or zn.dll and the VBScript code of jt.dll, unscrambled as the record
// says, and ProFile.ini. The script is told what the uninstaller would tell it: DoDialog answers
// as each page's default button, message boxes answer with their default button, and calls
// that would change the machine are printed and answered, not carried out. Output, one line each:
//   MessageBox: CAPTION: TEXT      every message box; the uninstaller's report of a failed
//                                  event is the box captioned "error"
//   Uninstall.NAME(ARGS) = RESULT  every call of the Uninstall object
//   OBJECT.NAME(ARGS) = RESULT  (not carried out; --real carries it out)
//   record: NAME GUID, uninstall folder F   first, when an install record was read
//   event: NAME                    (--events) before each event
//   result: TEXT                   the function's result when the call succeeded
//   error: code=C (MEANING) line=L word=W   the engine's error when loading or the call failed
// Exit status: 0 success, 1 a load or script error, 2 a usage error or an unreadable file.
// --trace writes each statement, each assignment's value and each host call to standard error.
// --check reads each file as the uninstaller would and runs nothing: one line per finding,
// "FILE:LINE: error: TEXT" or "FILE:LINE: warning: TEXT"; exit 1 when there is an error.
// --list prints every host object, class, method, command and constant with its case rule.
// --scramble and --unscramble convert between a plain script file and the scrambled form the
// uninstall folder keeps (hw.dll, zn.dll, jt.dll).
// On Windows the script also has what the uninstaller gives it: "CallVBSFunction" runs in the
// system's VBScript engine, "#include" files are read from the script's folder, and the
// "System", "Service" and "RegKey" objects and the "CRegKey", "CDllModule" and "CWSModule"
// classes are there. Elsewhere a call into VBScript fails, the system classes are missing, and
// "System" offers only its methods that need no Windows.
#include "app/flows/scrambled_text.h"
#include "app/voscript/host_catalogue.h"
#include "app/voscript/script_check.h"
#include "app/voscript/script_trace.h"
#include "app/voscript/uninstall_folder.h"
#include "app/voscript/voscript_runner.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include "library/system_object.h"
#include "script_system/system_objects.h"
#include "wsh/vbs_function_call.h"

#include <fcntl.h>
#include <io.h>
#else
#include "library/portable_system_object.h"
#endif

namespace {

#ifdef _WIN32
// The folder of the script file, as a full path.
std::string FolderOf(const char* scriptPath)
{
    char full[_MAX_PATH];
    if (!_fullpath(full, scriptPath, sizeof full))
        return {};
    std::string path = full;
    std::string::size_type slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

RunnerPlatform RunnerPlatformFor(const char* scriptPath)
{
    RunnerPlatform platform;
    platform.callVbsFunction = CallVbsFunctionThroughHost;
    platform.createSystemClass = MakeSystemClass;
    platform.system = MakeSystemObject();
    platform.service = MakeServiceObject();
    platform.regKey = MakeRegKeyObject();
    platform.scriptFolder = FolderOf(scriptPath);
    return platform;
}
#else
RunnerPlatform RunnerPlatformFor(const char*)
{
    RunnerPlatform platform;
    platform.system = MakePortableSystemObject();
    return platform;
}
#endif

enum ExitStatus { ExitDone = 0, ExitUsage = 2 };

constexpr const char* kUsage =
    "usage: voscript [OPTION...] SCRIPT-FILE FUNCTION [ARG...]\n"
    "       voscript [OPTION...] --events SCRIPT-FILE-OR-UNINSTALL-FOLDER\n"
    "       voscript --check [--scrambled] SCRIPT-FILE...\n"
    "       voscript --list\n"
    "       voscript --scramble IN OUT | --unscramble IN OUT\n"
    "options:\n"
    "  --answers 7,1        the answers of the message boxes in turn; then each box's default button\n"
    "  --real               carry out the calls that change the machine (voscript.exe only)\n"
    "  --uninstaller PATH   what Uninstall.GetModuleFile gives (default: UnInstall.exe of the\n"
    "                       record's uninstall folder)\n"
    "  --record SETUP.KVX   GetCurAppID and the uninstall folder come from this install record\n"
    "  --trace              each statement, stored value and host call, to standard error\n"
    "  --help               this text\n";

bool ReadWholeFile(const char* path, std::string& contents)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        contents.append(buffer, count);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

bool WriteWholeFile(const char* path, const std::string& contents)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    return std::fclose(file) == 0 && written;
}

int Usage()
{
    std::fputs(kUsage, stderr);
    return ExitUsage;
}

int CannotRead(const char* path)
{
    std::fprintf(stderr, "voscript: cannot read %s\n", path);
    return ExitUsage;
}

// --check [--scrambled] FILE...: the findings of every file; 1 when one of them has an error.
int CheckFiles(int count, char** paths)
{
    bool scrambled = count > 0 && std::string(paths[0]) == "--scrambled";
    if (scrambled) {
        ++paths;
        --count;
    }
    if (count < 1)
        return Usage();
    bool anyError = false;
    for (int index = 0; index < count; ++index) {
        std::string bytes;
        if (!ReadWholeFile(paths[index], bytes))
            return CannotRead(paths[index]);
        std::string script;
        if (scrambled)
            AppendUnscrambled(bytes, script);
        else
            script = std::move(bytes);
        const std::vector<CheckFinding> findings = CheckScript(script);
        for (const CheckFinding& finding : findings)
            anyError = anyError || finding.isError;
        const std::string output = FormatFindings(paths[index], findings);
        std::fwrite(output.data(), 1, output.size(), stdout);
    }
    std::fflush(stdout);
    return anyError ? 1 : 0;
}

// --list: what a script can call, from the tables the objects dispatch from.
int ListHostNames()
{
    std::string output;
    ::ListHost(output);
    std::fwrite(output.data(), 1, output.size(), stdout);
    return 0;
}

// --scramble IN OUT and --unscramble IN OUT.
int ConvertFile(bool scramble, const char* from, const char* to)
{
    std::string bytes;
    if (!ReadWholeFile(from, bytes))
        return CannotRead(from);
    std::string converted;
    if (scramble)
        converted = Scramble(bytes);
    else
        AppendUnscrambled(bytes, converted);
    if (!WriteWholeFile(to, converted)) {
        std::fprintf(stderr, "voscript: cannot write %s\n", to);
        return ExitUsage;
    }
    return 0;
}

// What the command line asks for.
struct Invocation {
    RunnerSetup setup;
    std::string recordPath;
    bool events = false;
    bool help = false;
    bool trace = false;
    std::vector<std::string> operands;
};

bool ReadAnswers(Invocation& invocation, const char* list)
{
    std::string text = list;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        const std::string item = text.substr(start, comma - start);
        char* end = nullptr;
        const long answer = std::strtol(item.c_str(), &end, 10);
        if (item.empty() || *end != '\0' || answer < 0 || answer > 100)
            return false;
        invocation.setup.answers.push_back(static_cast<int>(answer));
        start = comma + 1;
    }
    return true;
}

// One row per option; an option with a value takes the next argument.
struct OptionRow {
    const char* name;
    bool takesValue;
    bool (*apply)(Invocation& invocation, const char* value);
};

const OptionRow kOptions[] = {
    {"--help", false, [](Invocation& invocation, const char*) { return invocation.help = true; }},
    {"--trace", false, [](Invocation& invocation, const char*) { return invocation.trace = true; }},
    {"--events", false, [](Invocation& invocation, const char*) { return invocation.events = true; }},
    {"--answers", true, ReadAnswers},
    {"--real", false, [](Invocation& invocation, const char*) { return invocation.setup.real = true; }},
    {"--uninstaller", true,
     [](Invocation& invocation, const char* path) {
         invocation.setup.uninstallerPath = path;
         return true;
     }},
    {"--record", true,
     [](Invocation& invocation, const char* path) {
         invocation.recordPath = path;
         return true;
     }},
};

// Options come first; the first argument that is none starts the operands.
bool ReadCommandLine(int argumentCount, char** arguments, Invocation& invocation)
{
    int next = 1;
    for (; next < argumentCount; ++next) {
        const OptionRow* option = nullptr;
        for (const OptionRow& row : kOptions) {
            if (std::string(arguments[next]) == row.name)
                option = &row;
        }
        if (!option)
            break;
        const char* value = nullptr;
        if (option->takesValue) {
            if (++next == argumentCount)
                return false;
            value = arguments[next];
        }
        if (!option->apply(invocation, value))
            return false;
    }
    invocation.operands.assign(arguments + next, arguments + argumentCount);
    return true;
}

bool IsFolder(const std::string& path)
{
    std::error_code failure;
    return std::filesystem::is_directory(path, failure);
}

// The folder that holds the script: what the uninstaller-to-be defaults to without a record.
std::string DefaultUninstaller(const std::string& scriptPath)
{
    std::error_code failure;
    std::filesystem::path full = std::filesystem::absolute(scriptPath, failure);
    if (!IsFolder(scriptPath))
        full = full.parent_path();
    return (full / "UnInstall.exe").string();
}

int RunInvocation(Invocation& invocation)
{
#ifndef _WIN32
    if (invocation.setup.real) {
        std::fputs("voscript: --real needs the Windows runner, voscript.exe\n", stderr);
        return ExitUsage;
    }
#endif
    const std::vector<std::string>& operands = invocation.operands;
    if (invocation.events ? operands.size() != 1 : operands.size() < 2)
        return Usage();
    const std::string& path = operands[0];
    if (!invocation.recordPath.empty() && !IsFolder(path) && !ReadRecordInto(invocation.recordPath, invocation.setup)) {
        std::fprintf(stderr, "voscript: cannot read the install record %s\n", invocation.recordPath.c_str());
        return ExitUsage;
    }
    std::string script;
    if (invocation.events && IsFolder(path)) {
        std::string reason;
        if (!ReadUninstallFolder(path, invocation.recordPath, invocation.setup, script, reason)) {
            std::fprintf(stderr, "voscript: cannot read the install record of %s\n", path.c_str());
            return ExitUsage;
        }
        if (!reason.empty()) {
            std::printf("no script: %s; the uninstaller runs its default flow\n", reason.c_str());
            return ExitDone;
        }
    } else if (!ReadWholeFile(path.c_str(), script)) {
        std::fprintf(stderr, "voscript: cannot read %s\n", path.c_str());
        return ExitUsage;
    }
    if (invocation.setup.uninstallerPath.empty())
        invocation.setup.uninstallerPath = DefaultUninstaller(path);
    if (HasLineFeedsOnly(script))
        std::fprintf(stderr, "voscript: warning: %s has line feeds but no carriage returns; lines end only at a "
                             "carriage return, so the script reads as one line\n", path.c_str());
    RunnerPlatform platform = RunnerPlatformFor(path.c_str());
    if (IsFolder(path)) {
        // The walked folder stands for the uninstall folder that its files lie in.
        std::error_code failure;
        platform.scriptFolder = std::filesystem::absolute(path, failure).string();
    }
    platform.setup = invocation.setup;
    std::string traceOutput;
    ScriptTrace scriptTrace(traceOutput, stderr);
    if (invocation.trace)
        platform.observer = &scriptTrace;
    std::string output;
    if (!invocation.setup.appId.empty() || !invocation.setup.appName.empty())
        output += "record: " + invocation.setup.appName + " " + invocation.setup.appId + ", uninstall folder "
            + invocation.setup.uninstallFolder + "\n";
    int status = 0;
    if (invocation.events) {
        status = RunVoScriptEvents(script, output, platform);
    } else {
        std::vector<std::string> callArguments(operands.begin() + 2, operands.end());
        status = RunVoScript(script, operands[1], callArguments, output, platform);
    }
    std::fwrite(output.data(), 1, output.size(), stdout);
    return status;
}

}

int main(int argumentCount, char** arguments)
{
#ifdef _WIN32
    // The same bytes on every platform: no carriage returns are added to the lines.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::string mode = argumentCount > 1 ? arguments[1] : "";
    if (mode == "--check")
        return CheckFiles(argumentCount - 2, arguments + 2);
    if (mode == "--list")
        return argumentCount == 2 ? ListHostNames() : Usage();
    if (mode == "--scramble" || mode == "--unscramble")
        return argumentCount == 4 ? ConvertFile(mode == "--scramble", arguments[2], arguments[3]) : Usage();
    Invocation invocation;
    if (!ReadCommandLine(argumentCount, arguments, invocation))
        return Usage();
    if (invocation.help) {
        std::fputs(kUsage, stdout);
        return ExitDone;
    }
    const int status = RunInvocation(invocation);
    std::fflush(stdout);
    return status;
}
