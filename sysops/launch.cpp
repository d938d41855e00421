#include "sysops/launch.h"

#include "sysops/command_line.h"
#include "sysops/message_box.h"
#include "sysops/message_pump.h"

#include <windows.h>

namespace {

std::string ProgramCaption()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    const auto slash = name.find_last_of('\\');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}

void LaunchProgram(const std::string& command, const std::string& parameter, LaunchWait wait)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL started = FALSE;
    if (!parameter.empty()) {
        std::string commandLine = QuotedProgramPath(command) + " \"" + parameter + "\"";
        started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                                 nullptr, &startup, &process);
    } else {
        started = CreateProcessA(command.c_str(), nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                                 nullptr, &startup, &process);
    }
    if (!started) {
        ShowMessageBox("CreateProcess is error: " + command, ProgramCaption(), MB_OK);
        return;
    }
    if (wait == LaunchWait::UntilEnded)
        (void)WaitPumpingMessages(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
