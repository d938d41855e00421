#include "sysops/process_list.h"

#include "base/path_text.h"
#include "base/text_compare.h"
#include "sysops/procedure_address.h"
#include "sysops/system_library.h"

#include <tlhelp32.h>

#include <cstring>

namespace {

using EnumProcessesFunction = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFunction = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using GetModuleFileNameExFunction = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using CreateSnapshotFunction = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFunction = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using ModuleWalkFunction = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);
using TaskCallback = BOOL(WINAPI*)(DWORD threadId, WORD module16, WORD task16, char* moduleName, char* fileName,
                                   LPARAM context);
using EnumTasksFunction = INT(WINAPI*)(DWORD processId, TaskCallback callback, LPARAM context);

constexpr std::size_t kCapacityStep = 256;
constexpr DWORD kPathCapacity = 256;
const char kSecurityRestriction[] = "N/A (security restriction)";
const char kNoModuleName[] = "N/A (error)";

// The text after the last backslash; the whole text without one.
std::string FileNameOf(const std::string& path)
{
    const auto slash = FindLastBackslash(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWithNoCase(const std::string& text, const char* ending)
{
    const std::size_t length = std::strlen(ending);
    return text.size() >= length && EqualsNoCase(text.substr(text.size() - length), ending);
}

// Fills a buffer through a call that reports the bytes it wrote or needs. A buffer that
// comes back full may have cut the list, so it grows by 256 entries until it does not.
template <typename Item, typename Fill>
bool FillGrowing(std::vector<Item>& buffer, std::size_t capacity, Fill fill)
{
    for (;;) {
        buffer.assign(capacity, Item{});
        DWORD bytes = 0;
        if (!fill(buffer.data(), static_cast<DWORD>(capacity * sizeof(Item)), &bytes))
            return false;
        if (bytes < capacity * sizeof(Item)) {
            buffer.resize(bytes / sizeof(Item));
            return true;
        }
        capacity += kCapacityStep;
    }
}

ProcessEntry FromSnapshot(const PROCESSENTRY32& found) { return ProcessEntry{found.szExeFile, found.th32ProcessID, 0}; }

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

// NTVDM runs only on 32-bit Windows. Elsewhere the task walk is not even asked for: a
// 64-bit vdmdbg.dll may export it as a stub, and Wine's aborts the calling process.
bool SixteenBitTasksCanExist()
{
#ifdef _WIN64
    return false;
#else
    BOOL emulated = FALSE;
    return IsWow64Process(GetCurrentProcess(), &emulated) && !emulated;
#endif
}

BOOL WINAPI QueueTask(DWORD, WORD, WORD task16, char*, char* fileName, LPARAM context)
{
    auto* tasks = reinterpret_cast<std::deque<ProcessEntry>*>(context);
    ProcessEntry entry;
    entry.Text = fileName ? fileName : "";
    entry.TaskHandle = task16;
    tasks->push_back(entry);
    return FALSE; // go on with the next task
}

}

struct ProcessList::Functions {
    EnumProcessesFunction enumProcesses = nullptr;
    EnumProcessModulesFunction enumProcessModules = nullptr;
    GetModuleFileNameExFunction getModuleFileNameEx = nullptr;
    CreateSnapshotFunction createSnapshot = nullptr;
    ProcessWalkFunction processFirst = nullptr;
    ProcessWalkFunction processNext = nullptr;
    ModuleWalkFunction moduleFirst = nullptr;
    ModuleWalkFunction moduleNext = nullptr;
    EnumTasksFunction enumTasks = nullptr;
};

ProcessList::ProcessList(unsigned allowedModes, std::size_t initialCapacity)
    : m_allowedModes(allowedModes), m_initialCapacity(initialCapacity ? initialCapacity : 1),
      m_functions(std::make_unique<Functions>())
{
    Functions& f = *m_functions;
    m_psapi = LoadSystemLibrary("psapi.dll");
    f.enumProcesses = ProcedureAddress<EnumProcessesFunction>(m_psapi, "EnumProcesses");
    f.enumProcessModules = ProcedureAddress<EnumProcessModulesFunction>(m_psapi, "EnumProcessModules");
    f.getModuleFileNameEx = ProcedureAddress<GetModuleFileNameExFunction>(m_psapi, "GetModuleFileNameExA");
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    f.createSnapshot = ProcedureAddress<CreateSnapshotFunction>(kernel, "CreateToolhelp32Snapshot");
    f.processFirst = ProcedureAddress<ProcessWalkFunction>(kernel, "Process32First");
    f.processNext = ProcedureAddress<ProcessWalkFunction>(kernel, "Process32Next");
    f.moduleFirst = ProcedureAddress<ModuleWalkFunction>(kernel, "Module32First");
    f.moduleNext = ProcedureAddress<ModuleWalkFunction>(kernel, "Module32Next");
    if (SixteenBitTasksCanExist()) {
        m_vdmdbg = LoadSystemLibrary("vdmdbg.dll");
        f.enumTasks = ProcedureAddress<EnumTasksFunction>(m_vdmdbg, "VDMEnumTaskWOWEx");
    }

    unsigned available = 0;
    if (f.enumProcesses && f.enumProcessModules && f.getModuleFileNameEx)
        available |= kProcessStatusMode;
    if (f.createSnapshot && f.processFirst && f.processNext && f.moduleFirst && f.moduleNext)
        available |= kToolHelpMode;
    available &= m_allowedModes;
    if (f.enumTasks && (available & (kProcessStatusMode | kToolHelpMode)))
        available |= kTaskMode & m_allowedModes;
    if (available & kProcessStatusMode)
        m_mode = kProcessStatusMode;
    if (available & kToolHelpMode)
        m_mode = kToolHelpMode;
    m_mode |= available & kTaskMode;
}

ProcessList::~ProcessList()
{
    CloseWalks();
    if (m_psapi)
        FreeLibrary(m_psapi);
    if (m_vdmdbg)
        FreeLibrary(m_vdmdbg);
}

void ProcessList::CloseWalks()
{
    if (m_processSnapshot != INVALID_HANDLE_VALUE)
        CloseHandle(m_processSnapshot);
    m_processSnapshot = INVALID_HANDLE_VALUE;
    m_processIds.clear();
    m_processPosition = 0;
    m_pendingTasks.clear();
    CloseModuleWalk();
}

void ProcessList::CloseModuleWalk()
{
    if (m_moduleSnapshot != INVALID_HANDLE_VALUE)
        CloseHandle(m_moduleSnapshot);
    m_moduleSnapshot = INVALID_HANDLE_VALUE;
    if (m_moduleProcess)
        CloseHandle(m_moduleProcess);
    m_moduleProcess = nullptr;
    m_modules.clear();
    m_modulePosition = 0;
}

bool ProcessList::FirstProcess(ProcessEntry& entry)
{
    CloseWalks();
    const Functions& f = *m_functions;
    if (m_mode & kToolHelpMode) {
        m_processSnapshot = f.createSnapshot(TH32CS_SNAPPROCESS, 0);
        if (!SnapshotStep<PROCESSENTRY32>(f.processFirst, m_processSnapshot, entry))
            return false;
        QueueTasksOf(entry);
        return true;
    }
    if (!(m_mode & kProcessStatusMode) || !FillGrowing(m_processIds, m_initialCapacity, f.enumProcesses))
        return false;
    return NextStatusProcess(entry);
}

bool ProcessList::NextProcess(ProcessEntry& entry)
{
    if (!m_pendingTasks.empty()) {
        entry = m_pendingTasks.front();
        m_pendingTasks.pop_front();
        return true;
    }
    return NextWalkedProcess(entry);
}

bool ProcessList::NextWalkedProcess(ProcessEntry& entry)
{
    if (m_mode & kToolHelpMode) {
        if (!SnapshotStep<PROCESSENTRY32>(m_functions->processNext, m_processSnapshot, entry))
            return false;
        QueueTasksOf(entry);
        return true;
    }
    return (m_mode & kProcessStatusMode) && NextStatusProcess(entry);
}

bool ProcessList::NextStatusProcess(ProcessEntry& entry)
{
    if (m_processPosition >= m_processIds.size())
        return false;
    const DWORD processId = m_processIds[m_processPosition++];
    entry = ProcessEntry{kSecurityRestriction, processId, 0};
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process) {
        HMODULE first = nullptr;
        DWORD needed = 0;
        char path[kPathCapacity] = {};
        const bool named = m_functions->enumProcessModules(process, &first, sizeof first, &needed)
            && m_functions->getModuleFileNameEx(process, first, path, kPathCapacity) > 0;
        entry.Text = named ? path : kNoModuleName;
        CloseHandle(process);
    }
    QueueTasksOf(entry);
    return true;
}

void ProcessList::QueueTasksOf(const ProcessEntry& entry)
{
    if (!(m_mode & kTaskMode) || entry.TaskHandle != 0 || !EndsWithNoCase(entry.Text, "NTVDM.EXE"))
        return;
    const std::size_t before = m_pendingTasks.size();
    m_functions->enumTasks(entry.ProcessId, QueueTask, reinterpret_cast<LPARAM>(&m_pendingTasks));
    for (std::size_t i = before; i < m_pendingTasks.size(); ++i)
        m_pendingTasks[i].ProcessId = entry.ProcessId;
}

bool ProcessList::FirstModule(uint32_t processId, ModuleEntry& entry)
{
    CloseModuleWalk();
    const Functions& f = *m_functions;
    if (m_mode & kToolHelpMode) {
        // A module snapshot can fail for a moment while the process loads a module.
        for (int attempt = 0; attempt < 5 && m_moduleSnapshot == INVALID_HANDLE_VALUE; ++attempt) {
            m_moduleSnapshot = f.createSnapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
            if (m_moduleSnapshot == INVALID_HANDLE_VALUE && GetLastError() != ERROR_BAD_LENGTH)
                return false;
        }
        return SnapshotStep<MODULEENTRY32>(f.moduleFirst, m_moduleSnapshot, entry);
    }
    if (!(m_mode & kProcessStatusMode))
        return false;
    m_moduleProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    const auto enumModules = [this, &f](HMODULE* modules, DWORD bytes, DWORD* needed) {
        return f.enumProcessModules(m_moduleProcess, modules, bytes, needed);
    };
    return m_moduleProcess && FillGrowing(m_modules, m_initialCapacity, enumModules) && NextStatusModule(entry);
}

bool ProcessList::NextModule(uint32_t, ModuleEntry& entry)
{
    if (m_mode & kToolHelpMode)
        return SnapshotStep<MODULEENTRY32>(m_functions->moduleNext, m_moduleSnapshot, entry);
    return (m_mode & kProcessStatusMode) && NextStatusModule(entry);
}

bool ProcessList::NextStatusModule(ModuleEntry& entry)
{
    if (!m_moduleProcess || m_modulePosition >= m_modules.size())
        return false;
    HMODULE module = m_modules[m_modulePosition++];
    char path[kPathCapacity] = {};
    const bool named = m_functions->getModuleFileNameEx(m_moduleProcess, module, path, kPathCapacity) > 0;
    entry = ModuleEntry{named ? path : kNoModuleName, reinterpret_cast<uintptr_t>(module)};
    return true;
}

bool ProcessList::ProcessUsesModule(uint32_t processId, const std::string& path) const
{
    ProcessList modules(m_allowedModes, m_initialCapacity);
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
        if (entry.ProcessId == self || !EqualsNoCase(FileNameOf(entry.Text), fileName))
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

int TerminateProcessById(uint32_t processId, uint32_t exitCode)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (!process)
        return -1;
    const bool ended = TerminateProcess(process, exitCode) != FALSE;
    CloseHandle(process);
    return ended ? 0 : -1;
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
