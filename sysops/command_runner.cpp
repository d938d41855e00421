#include "sysops/command_runner.h"

#include "base/path_text.h"
#include "sysops/file_handle.h"
#include "sysops/message_pump.h"
#include "sysops/work_folder.h"

#include <windows.h>

struct CommandRunner::RunState {
    std::string commandLine;
    std::string workFolder; // the batch file's, removed with it
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
    if (!(*state)->workFolder.empty())
        RemoveWorkFolder((*state)->workFolder);
    SetEvent((*state)->finished);
    delete state;
    return 0;
}

// The batch file is a new file in a new folder that only administrators and this account
// can write to: nobody can have planted it, hold it open or change it while cmd.exe reads it.
bool WriteNewBatch(const std::string& path, const std::string& command)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.IsOpen()
        && (command.empty()
            || (WriteFile(file.Get(), command.data(), static_cast<DWORD>(command.size()), &written, nullptr)
                && written == command.size()));
}

}

void CommandRunner::RunWaited(const std::string& commandLine, const std::string& workFolder)
{
    m_state = std::make_shared<RunState>();
    m_state->commandLine = commandLine;
    m_state->workFolder = workFolder;
    auto* workerState = new std::shared_ptr<RunState>(m_state);
    HANDLE worker = m_state->finished ? CreateThread(nullptr, 0, RunWorker, workerState, 0, nullptr) : nullptr;
    if (!worker) {
        delete workerState;
        if (!workFolder.empty())
            RemoveWorkFolder(workFolder);
        return;
    }
    CloseHandle(worker);
    (void)WaitPumpingMessages(m_state->finished);
}

std::string CommandRunner::Run(const std::string& command, int mode)
{
    if (mode == kBatchMode) {
        const std::string folder = CreateWorkFolder();
        if (folder.empty())
            return {};
        const std::string batch = JoinPath(folder, kBatchName);
        if (WriteNewBatch(batch, command))
            RunWaited("\"" + batch + "\"", folder);
        else
            RemoveWorkFolder(folder);
    } else if (mode == kWaitedMode) {
        RunWaited(command, "");
    } else if (HANDLE process = StartHidden(command)) {
        CloseHandle(process);
    }
    return {};
}
