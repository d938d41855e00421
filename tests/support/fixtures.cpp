#include "tests/support/fixtures.h"

#include <atomic>
#include <cstdio>
#include <vector>

std::string FixturePath(const std::string& fileName)
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder.erase(folder.find_last_of('\\'));
    return folder + "\\" + fileName;
}

bool CopyFixture(const std::string& fileName, const std::string& destination)
{
    return CopyFileA(FixturePath(fileName).c_str(), destination.c_str(), FALSE) != FALSE;
}

StartedProcess::StartedProcess(const std::string& commandLine)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_id = process.dwProcessId;
    // Wait until it runs its own code, so that its modules are there to be listed.
    WaitForInputIdle(m_process, 2000);
    Sleep(200);
}

StartedProcess::~StartedProcess()
{
    if (!m_process)
        return;
    if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
        TerminateProcess(m_process, 1);
    CloseHandle(m_process);
}

bool StartedProcess::EndsWithin(DWORD ms) const
{
    return m_process && WaitForSingleObject(m_process, ms) == WAIT_OBJECT_0;
}

bool ProcessIsRunning(DWORD processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process)
        return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

namespace {

SC_HANDLE OpenTestService(const std::string& name, DWORD access)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return nullptr;
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), access);
    CloseServiceHandle(manager);
    return service;
}

SERVICE_STATUS_PROCESS QueryStatus(const std::string& name)
{
    SERVICE_STATUS_PROCESS status = {};
    if (SC_HANDLE service = OpenTestService(name, SERVICE_QUERY_STATUS)) {
        DWORD needed = 0;
        QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status, &needed);
        CloseServiceHandle(service);
    }
    return status;
}

}

ScratchService::ScratchService(const std::string& label, const std::string& binaryPath)
{
    static std::atomic<int> counter{0};
    char name[120];
    snprintf(name, sizeof name, "UnInstallTest-%s-%lu-%d", label.c_str(), GetCurrentProcessId(), ++counter);
    m_name = name;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return;
    SC_HANDLE service = CreateServiceA(manager, m_name.c_str(), ("Test service " + m_name).c_str(), SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                       binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    m_ready = service != nullptr;
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
}

ScratchService::~ScratchService()
{
    const DWORD processId = ProcessId() ? ProcessId() : m_processId;
    if (processId && ProcessIsRunning(processId)) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    if (SC_HANDLE service = OpenTestService(m_name, DELETE)) {
        DeleteService(service);
        CloseServiceHandle(service);
    }
}

bool ScratchService::Start(const char* argument)
{
    SC_HANDLE service = OpenTestService(m_name, SERVICE_START);
    if (!service)
        return false;
    const char* arguments[] = {argument};
    const bool started = StartServiceA(service, argument ? 1 : 0, argument ? arguments : nullptr) != FALSE;
    CloseServiceHandle(service);
    for (int poll = 0; started && poll < 100 && State() != SERVICE_RUNNING; ++poll)
        Sleep(50);
    m_processId = ProcessId();
    return started && State() == SERVICE_RUNNING;
}

DWORD ScratchService::State() const
{
    return QueryStatus(m_name).dwCurrentState;
}

DWORD ScratchService::ProcessId() const
{
    return QueryStatus(m_name).dwProcessId;
}

bool ScratchService::Exists() const
{
    SC_HANDLE service = OpenTestService(m_name, SERVICE_QUERY_CONFIG);
    if (service)
        CloseServiceHandle(service);
    return service != nullptr;
}
