#include "sysops/launch.h"

#include "sysops/command_line.h"
#include "sysops/message_box.h"
#include "sysops/message_pump.h"
#include "sysops/module_path.h"

#include <windows.h>

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
        ShowMessageBox("CreateProcess is error: " + command, GetModuleCaption(), MB_OK);
        return;
    }
    if (wait == LaunchWait::UntilEnded)
        (void)WaitPumpingMessages(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
