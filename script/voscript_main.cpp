// voscript SCRIPT-FILE FUNCTION [ARG...]
//
// Lets the author of an uninstall script check it: loads the file as the uninstaller loads its
// script (the bytes as they are, no scrambling), calls FUNCTION as the host calls an event
// function, with each ARG as one text argument, and prints one line per event:
//   MessageBox: CAPTION: TEXT      for every message box (the box answers OK)
//   result: TEXT                   the function's result when the call succeeded
//   error: code=C line=L word=W    the engine's error when loading or the call failed
// Exit status: 0 success, 1 a load or script error, 2 a usage error or an unreadable file.
// On Windows the script also has what the uninstaller gives it: "CallVBSFunction" runs in the
// system's VBScript engine, "#include" files are read from the script's folder, and the
// "Service" and "RegKey" objects and the "CRegKey", "CDllModule" and "CWSModule" classes are
// there. Elsewhere a call into VBScript fails and the system objects are missing.
#include "script/voscript_runner.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include "script/objects/system_objects.h"
#include "script/script_engine.h"
#include "wsh/vbs_function_call.h"

#include <fcntl.h>
#include <io.h>
#endif

namespace {

#ifdef _WIN32
void RegisterSystemObjects(ScriptEngine& engine)
{
    engine.RegisterObject("Service", MakeServiceObject());
    engine.RegisterObject("RegKey", MakeRegKeyObject());
}

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

RunnerPlatform WindowsPlatform(const char* scriptPath)
{
    RunnerPlatform platform;
    platform.callVbsFunction = CallVbsFunctionThroughHost;
    platform.createSystemClass = MakeSystemClass;
    platform.registerObjects = RegisterSystemObjects;
    platform.scriptFolder = FolderOf(scriptPath);
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

}

int main(int argumentCount, char** arguments)
{
#ifdef _WIN32
    // The same bytes on every platform: no carriage returns are added to the lines.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argumentCount < 3) {
        std::fputs("usage: voscript SCRIPT-FILE FUNCTION [ARG...]\n", stderr);
        return ExitUsage;
    }
    std::string script;
    if (!ReadWholeFile(arguments[1], script)) {
        std::fprintf(stderr, "voscript: cannot read %s\n", arguments[1]);
        return ExitUsage;
    }
    std::vector<std::string> callArguments(arguments + 3, arguments + argumentCount);
    std::string output;
#ifdef _WIN32
    int status = RunVoScript(script, arguments[2], callArguments, output, WindowsPlatform(arguments[1]));
#else
    int status = RunVoScript(script, arguments[2], callArguments, output);
#endif
    std::fwrite(output.data(), 1, output.size(), stdout);
    std::fflush(stdout);
    return status;
}
