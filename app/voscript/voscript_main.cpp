// voscript [--trace] SCRIPT-FILE FUNCTION [ARG...]
// voscript [--trace] --events SCRIPT-FILE
// voscript --check [--scrambled] SCRIPT-FILE...
// voscript --list
// voscript --scramble IN OUT  |  voscript --unscramble IN OUT
//
// Lets the author of an uninstall script check it: loads the file as the uninstaller loads its
// script (the bytes as they are, no scrambling) with the uninstaller's host objects and
// constants, and either calls FUNCTION as the host calls an event function, with each ARG as
// one text argument, or, with --events, runs OnUninstallBegin, OnUninstallProcess and
// OnUninstallEnd in the order and by the rules of the uninstaller. The Uninstall object only
// prints what it is asked (DoDialog goes straight through every page); no page is shown and
// nothing of the installation is removed. Output, one line each:
//   MessageBox: CAPTION: TEXT      every message box (the box answers OK); the uninstaller's
//                                  report of a failed event is the box captioned "error"
//   Uninstall.NAME(ARGS) = RESULT  every call of the Uninstall object
//   event: NAME                    (--events) before each event
//   result: TEXT                   the function's result when the call succeeded
//   error: code=C line=L word=W    the engine's error when loading or the call failed
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
#include "app/scrambled_text.h"
#include "app/voscript/host_catalogue.h"
#include "app/voscript/script_check.h"
#include "app/voscript/script_trace.h"
#include "app/voscript/voscript_runner.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include "library/system_object.h"
#include "script/objects/system/system_objects.h"
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

enum ExitStatus { ExitUsage = 2 };

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
    std::fputs("usage: voscript [--trace] SCRIPT-FILE FUNCTION [ARG...]\n"
               "       voscript [--trace] --events SCRIPT-FILE\n"
               "       voscript --check [--scrambled] SCRIPT-FILE...\n"
               "       voscript --list\n"
               "       voscript --scramble IN OUT | --unscramble IN OUT\n",
               stderr);
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
    const bool trace = mode == "--trace";
    if (trace) {
        ++arguments;
        --argumentCount;
    }
    const bool events = argumentCount > 1 && std::string(arguments[1]) == "--events";
    if (argumentCount < 3 || (events && argumentCount != 3))
        return Usage();
    const char* path = events ? arguments[2] : arguments[1];
    std::string script;
    if (!ReadWholeFile(path, script))
        return CannotRead(path);
    if (HasLineFeedsOnly(script))
        std::fprintf(stderr, "voscript: warning: %s has line feeds but no carriage returns; lines end only at a "
                             "carriage return, so the script reads as one line\n", path);
    RunnerPlatform platform = RunnerPlatformFor(path);
    std::string traceOutput;
    ScriptTrace scriptTrace(traceOutput, stderr);
    if (trace)
        platform.observer = &scriptTrace;
    std::string output;
    int status = 0;
    if (events) {
        status = RunVoScriptEvents(script, output, platform);
    } else {
        std::vector<std::string> callArguments(arguments + 3, arguments + argumentCount);
        status = RunVoScript(script, arguments[2], callArguments, output, platform);
    }
    std::fwrite(output.data(), 1, output.size(), stdout);
    std::fflush(stdout);
    return status;
}
