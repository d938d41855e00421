#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

// One running process, or one 16-bit task inside an NTVDM process.
struct ProcessEntry {
    std::string Text;       // file name (Tool Help) or full path (process status) of the executable
    uint32_t ProcessId = 0; // for a 16-bit task: its NTVDM process
    uint16_t TaskHandle = 0;
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

// The ways of walking processes, as bits of ProcessList::Mode.
enum ProcessListMode : unsigned {
    kProcessStatusMode = 1, // PSAPI
    kToolHelpMode = 2,      // Tool Help of Kernel32, preferred when it exists
    kTaskMode = 4,          // 16-bit tasks of NTVDM processes, in addition (32-bit Windows only)
};

// Walks the running processes and the modules of one process with whatever the system
// offers, every function taken at run time. allowedModes narrows the choice (tests use it to
// walk the way an older system would); initialCapacity is the first size of the identifier
// and module buffers of the process-status walk, which grow by 256.
class ProcessList {
public:
    explicit ProcessList(unsigned allowedModes = kProcessStatusMode | kToolHelpMode | kTaskMode,
                         std::size_t initialCapacity = 256);
    ~ProcessList();
    ProcessList(const ProcessList&) = delete;
    ProcessList& operator=(const ProcessList&) = delete;

    [[nodiscard]] unsigned Mode() const { return m_mode; }

    [[nodiscard]] bool FirstProcess(ProcessEntry& entry);
    [[nodiscard]] bool NextProcess(ProcessEntry& entry);
    [[nodiscard]] bool FirstModule(uint32_t processId, ModuleEntry& entry);
    [[nodiscard]] bool NextModule(uint32_t processId, ModuleEntry& entry);

    // True when one of the process's modules is path (case-insensitive, whole texts); walks
    // with an enumerator of its own so that a process walk in progress is not disturbed.
    [[nodiscard]] bool ProcessUsesModule(uint32_t processId, const std::string& path) const;

    // Appends the processes that run the file: the executable's name matches and one of its
    // modules is the file itself, so a program of the same name elsewhere is left alone.
    // This process is never among them, even when the file is its own executable. The
    // process-status walk names full paths, whose file-name part is compared.
    void FindProcessesByPath(const std::string& path, std::vector<HeldProcess>& processes);
    // The same, giving only the ids.
    void FindProcessesByPath(const std::string& path, std::vector<uint32_t>& processIds);

private:
    struct Functions;

    void CloseWalks();
    void CloseModuleWalk();
    [[nodiscard]] bool NextWalkedProcess(ProcessEntry& entry);
    [[nodiscard]] bool NextStatusProcess(ProcessEntry& entry);
    [[nodiscard]] bool NextStatusModule(ModuleEntry& entry);
    void QueueTasksOf(const ProcessEntry& entry);

    unsigned m_allowedModes;
    std::size_t m_initialCapacity;
    unsigned m_mode = 0;
    HMODULE m_psapi = nullptr;
    HMODULE m_vdmdbg = nullptr;
    std::unique_ptr<Functions> m_functions;

    HANDLE m_processSnapshot = INVALID_HANDLE_VALUE;
    HANDLE m_moduleSnapshot = INVALID_HANDLE_VALUE;
    std::vector<DWORD> m_processIds;
    std::size_t m_processPosition = 0;
    std::vector<HMODULE> m_modules;
    std::size_t m_modulePosition = 0;
    HANDLE m_moduleProcess = nullptr;
    std::deque<ProcessEntry> m_pendingTasks;
};

// Opens the process with the terminate right and ends it with exitCode; 0 on success, -1
// when it could not be opened or ended.
int TerminateProcessById(uint32_t processId, uint32_t exitCode);

// The uninstall's step for one recorded executable: every process that runs it is ended
// with exit code 0, without a close request and without waiting, through the handle that
// passed the check.
// How many processes ran the file and how many of them were ended.
struct ProcessEnding {
    std::size_t found = 0;
    std::size_t ended = 0;
};
ProcessEnding EndProcessesOfFile(const std::string& path);
