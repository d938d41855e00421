#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

// One running process.
struct ProcessEntry {
    std::string Text; // the file name of the executable
    uint32_t ProcessId = 0;
};

struct ModuleEntry {
    std::string Path;
    uintptr_t Base = 0;
};

// A process that passed the check of FindProcessesByPath, held open from before the check:
// while the handle is open its id cannot pass to another process, so ending it through the
// handle ends the process that was checked and no other.
class HeldProcess {
public:
    HeldProcess(HANDLE handle, uint32_t processId) : m_handle(handle), m_processId(processId) {}
    ~HeldProcess();
    HeldProcess(HeldProcess&& other) noexcept;
    HeldProcess& operator=(HeldProcess&&) = delete;
    HeldProcess(const HeldProcess&) = delete;
    HeldProcess& operator=(const HeldProcess&) = delete;

    [[nodiscard]] uint32_t ProcessId() const { return m_processId; }
    // Ends the process with exitCode; 0 on success, -1 otherwise.
    int Terminate(uint32_t exitCode) const;

private:
    HANDLE m_handle;
    uint32_t m_processId;
};

// Walks the running processes and the modules of one process with the Tool Help snapshots
// of Kernel32.
class ProcessList {
public:
    ProcessList() = default;
    ~ProcessList();
    ProcessList(const ProcessList&) = delete;
    ProcessList& operator=(const ProcessList&) = delete;

    [[nodiscard]] bool FirstProcess(ProcessEntry& entry);
    [[nodiscard]] bool NextProcess(ProcessEntry& entry);
    [[nodiscard]] bool FirstModule(uint32_t processId, ModuleEntry& entry);
    [[nodiscard]] bool NextModule(uint32_t processId, ModuleEntry& entry);

    // True when one of the process's modules is path (case-insensitive, whole texts); walks
    // with an enumerator of its own so that a process walk in progress is not disturbed.
    [[nodiscard]] bool ProcessUsesModule(uint32_t processId, const std::string& path) const;

    // Appends the processes that run the file: the executable's name matches and one of its
    // modules is the file itself, so a program of the same name elsewhere is left alone.
    // This process is never among them, even when the file is its own executable.
    void FindProcessesByPath(const std::string& path, std::vector<HeldProcess>& processes);
    // The same, giving only the ids.
    void FindProcessesByPath(const std::string& path, std::vector<uint32_t>& processIds);

private:
    void CloseProcessWalk();
    void CloseModuleWalk();

    HANDLE m_processSnapshot = INVALID_HANDLE_VALUE;
    HANDLE m_moduleSnapshot = INVALID_HANDLE_VALUE;
};

// The uninstall's step for one recorded executable: every process that runs it is ended
// with exit code 0, without a close request and without waiting, through the handle that
// passed the check.
// How many processes ran the file and how many of them were ended.
struct ProcessEnding {
    std::size_t found = 0;
    std::size_t ended = 0;
};
ProcessEnding EndProcessesOfFile(const std::string& path);
