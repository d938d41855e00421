#include "sysops/command_runner.h"

#include "base/path_text.h"
#include "sysops/file_ops.h"
#include "sysops/message_pump.h"

#include <windows.h>

struct CommandRunner::RunState {
    std::string commandLine;
    std::string fileToDelete;
    HANDLE finished = nullptr; // manual reset, set by the worker
    bool captureOutput = false;

    RunState() : finished(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~RunState()
    {
        if (finished)
            CloseHandle(finished);
    }
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;
};

namespace {

const char kBatchName[] = "MyDocCmd.bat";

// Starts the command line in a new, hidden console; the process handle, or nullptr.
HANDLE StartHidden(const std::string& commandLine)
{
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

// The worker owns one reference to the run's state for as long as it runs.
DWORD WINAPI RunWorker(void* parameter)
{
    auto* state = static_cast<std::shared_ptr<CommandRunner::RunState>*>(parameter);
    if (HANDLE process = StartHidden((*state)->commandLine)) {
        WaitForSingleObject(process, INFINITE);
        DWORD exitCode = 0;
        GetExitCodeProcess(process, &exitCode);
        CloseHandle(process);
    }
    // The batch file goes only when its program is done with it, even when the caller
    // stopped waiting earlier.
    if (!(*state)->fileToDelete.empty())
        DeleteFileA((*state)->fileToDelete.c_str());
    SetEvent((*state)->finished);
    delete state;
    return 0;
}

std::string BatchPath()
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    return JoinPath(WithoutTrailingBackslash(temp), kBatchName);
}

}

void CommandRunner::RunWaited(const std::string& commandLine, const std::string& fileToDelete)
{
    m_state = std::make_shared<RunState>();
    m_state->commandLine = commandLine;
    m_state->fileToDelete = fileToDelete;
    if (!m_state->finished)
        return;
    auto* workerState = new std::shared_ptr<RunState>(m_state);
    HANDLE worker = CreateThread(nullptr, 0, RunWorker, workerState, 0, nullptr);
    if (!worker) {
        delete workerState;
        return;
    }
    CloseHandle(worker);
    (void)WaitPumpingMessages(m_state->finished);
}

std::string CommandRunner::Run(const std::string& command, int mode)
{
    if (mode == kBatchMode) {
        const std::string batch = BatchPath();
        DeleteFileA(batch.c_str());
        if (WriteTextFile(batch, command, false))
            RunWaited("\"" + batch + "\"", batch);
    } else if (mode == kWaitedMode) {
        RunWaited(command, "");
    } else if (HANDLE process = StartHidden(command)) {
        CloseHandle(process);
    }
    return {};
}
