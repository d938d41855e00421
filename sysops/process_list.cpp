#include "sysops/process_list.h"

#include "base/path_text.h"
#include "base/text_compare.h"

#include <tlhelp32.h>

namespace {

// The text after the last backslash; the whole text without one.
std::string FileNameOf(const std::string& path)
{
    const auto slash = FindLastBackslash(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

ProcessEntry FromSnapshot(const PROCESSENTRY32& found) { return ProcessEntry{found.szExeFile, found.th32ProcessID}; }

ModuleEntry FromSnapshot(const MODULEENTRY32& found)
{
    return ModuleEntry{found.szExePath, reinterpret_cast<uintptr_t>(found.modBaseAddr)};
}

// One step of a Tool Help walk: the first or next record of the snapshot, converted.
template <typename Record, typename Entry, typename Walk>
bool SnapshotStep(Walk walk, HANDLE snapshot, Entry& entry)
{
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    Record found = {};
    found.dwSize = sizeof found;
    if (!walk(snapshot, &found))
        return false;
    entry = FromSnapshot(found);
    return true;
}

}

ProcessList::~ProcessList()
{
    CloseProcessWalk();
    CloseModuleWalk();
}

void ProcessList::CloseProcessWalk()
{
    if (m_processSnapshot != INVALID_HANDLE_VALUE)
        CloseHandle(m_processSnapshot);
    m_processSnapshot = INVALID_HANDLE_VALUE;
}

void ProcessList::CloseModuleWalk()
{
    if (m_moduleSnapshot != INVALID_HANDLE_VALUE)
        CloseHandle(m_moduleSnapshot);
    m_moduleSnapshot = INVALID_HANDLE_VALUE;
}

bool ProcessList::FirstProcess(ProcessEntry& entry)
{
    CloseProcessWalk();
    m_processSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    return SnapshotStep<PROCESSENTRY32>(Process32First, m_processSnapshot, entry);
}

bool ProcessList::NextProcess(ProcessEntry& entry)
{
    return SnapshotStep<PROCESSENTRY32>(Process32Next, m_processSnapshot, entry);
}

bool ProcessList::FirstModule(uint32_t processId, ModuleEntry& entry)
{
    CloseModuleWalk();
    // A module snapshot can fail for a moment while the process loads a module.
    for (int attempt = 0; attempt < 5 && m_moduleSnapshot == INVALID_HANDLE_VALUE; ++attempt) {
        m_moduleSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
        if (m_moduleSnapshot == INVALID_HANDLE_VALUE && GetLastError() != ERROR_BAD_LENGTH)
            return false;
    }
    return SnapshotStep<MODULEENTRY32>(Module32First, m_moduleSnapshot, entry);
}

bool ProcessList::NextModule(uint32_t, ModuleEntry& entry)
{
    return SnapshotStep<MODULEENTRY32>(Module32Next, m_moduleSnapshot, entry);
}

bool ProcessList::ProcessUsesModule(uint32_t processId, const std::string& path) const
{
    ProcessList modules;
    ModuleEntry entry;
    for (bool more = modules.FirstModule(processId, entry); more; more = modules.NextModule(processId, entry)) {
        if (EqualsNoCase(entry.Path, path))
            return true;
    }
    return false;
}

HeldProcess::~HeldProcess()
{
    if (m_handle)
        CloseHandle(m_handle);
}

HeldProcess::HeldProcess(HeldProcess&& other) noexcept : m_handle(other.m_handle), m_processId(other.m_processId)
{
    other.m_handle = nullptr;
}

int HeldProcess::Terminate(uint32_t exitCode) const
{
    return m_handle && TerminateProcess(m_handle, exitCode) ? 0 : -1;
}

void ProcessList::FindProcessesByPath(const std::string& path, std::vector<HeldProcess>& processes)
{
    const std::string fileName = FileNameOf(path);
    const DWORD self = GetCurrentProcessId();
    ProcessEntry entry;
    for (bool more = FirstProcess(entry); more; more = NextProcess(entry)) {
        if (entry.ProcessId == self || !EqualsNoCase(entry.Text, fileName))
            continue;
        // Opened before the module check: from here on the id stays this process's.
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.ProcessId);
        if (!process)
            continue;
        HeldProcess held(process, entry.ProcessId);
        if (ProcessUsesModule(entry.ProcessId, path))
            processes.push_back(std::move(held));
    }
}

void ProcessList::FindProcessesByPath(const std::string& path, std::vector<uint32_t>& processIds)
{
    std::vector<HeldProcess> processes;
    FindProcessesByPath(path, processes);
    for (const HeldProcess& process : processes)
        processIds.push_back(process.ProcessId());
}

ProcessEnding EndProcessesOfFile(const std::string& path)
{
    ProcessEnding ending;
    if (path.empty())
        return ending;
    ProcessList processes;
    std::vector<HeldProcess> found;
    processes.FindProcessesByPath(path, found);
    ending.found = found.size();
    for (const HeldProcess& process : found)
        ending.ended += process.Terminate(0) == 0 ? 1 : 0;
    return ending;
}
