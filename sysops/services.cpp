#include "sysops/services.h"

#include "base/command_program.h"
#include "sysops/message_box.h"
#include "sysops/service_handle.h"

#include <windows.h>

namespace {

class ManagerHandle {
public:
    explicit ManagerHandle(DWORD access) : m_manager(OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA, access)) {}
    ~ManagerHandle()
    {
        if (m_manager)
            CloseServiceHandle(m_manager);
    }
    ManagerHandle(const ManagerHandle&) = delete;
    ManagerHandle& operator=(const ManagerHandle&) = delete;

    [[nodiscard]] SC_HANDLE Get() const { return m_manager; }

private:
    SC_HANDLE m_manager;
};

// Asks with room for one entry first and then with the size the system reports, again
// while the list keeps growing between the two calls.
bool ReadServiceList(SC_HANDLE manager, DWORD type, DWORD state, std::vector<BYTE>& buffer, DWORD& count)
{
    buffer.assign(sizeof(ENUM_SERVICE_STATUSA), 0);
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD needed = 0;
        DWORD resume = 0;
        count = 0;
        if (EnumServicesStatusA(manager, type, state, reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()),
                                static_cast<DWORD>(buffer.size()), &needed, &count, &resume))
            return true;
        if (GetLastError() != ERROR_MORE_DATA || needed == 0)
            return false;
        buffer.assign(buffer.size() + needed, 0);
    }
    return false;
}

// The configuration in a 1024-byte buffer, or in as much as the system asks for.
void ReadConfiguration(SC_HANDLE manager, ServiceInfo& info)
{
    SC_HANDLE service = OpenServiceA(manager, info.Name.c_str(), SERVICE_QUERY_CONFIG);
    if (!service)
        return;
    std::vector<BYTE> buffer(1024);
    DWORD needed = 0;
    bool read = QueryServiceConfigA(service, reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data()),
                                    static_cast<DWORD>(buffer.size()), &needed);
    if (!read && GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > buffer.size()) {
        buffer.assign(needed, 0);
        read = QueryServiceConfigA(service, reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data()),
                                   static_cast<DWORD>(buffer.size()), &needed);
    }
    if (read) {
        const auto* config = reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(buffer.data());
        info.BinaryPath = config->lpBinaryPathName ? config->lpBinaryPathName : "";
        info.StartType = config->dwStartType;
        info.ErrorControl = config->dwErrorControl;
    }
    CloseServiceHandle(service);
}

}

bool ServiceExists(const std::string& name)
{
    ManagerHandle manager(SC_MANAGER_ALL_ACCESS);
    if (!manager.Get())
        return false;
    SC_HANDLE service = OpenServiceA(manager.Get(), name.c_str(), SERVICE_QUERY_CONFIG);
    if (!service)
        return false;
    CloseServiceHandle(service);
    return true;
}

std::vector<ServiceInfo> EnumerateServices(uint32_t type, uint32_t state)
{
    std::vector<ServiceInfo> services;
    ManagerHandle manager(SC_MANAGER_ENUMERATE_SERVICE);
    if (!manager.Get())
        return services;
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (!ReadServiceList(manager.Get(), type, state, buffer, count))
        return services;
    const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUSA*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        ServiceInfo info;
        info.Name = entries[i].lpServiceName ? entries[i].lpServiceName : "";
        info.DisplayName = entries[i].lpDisplayName ? entries[i].lpDisplayName : "";
        info.ServiceType = entries[i].ServiceStatus.dwServiceType;
        info.CurrentState = entries[i].ServiceStatus.dwCurrentState;
        ReadConfiguration(manager.Get(), info); // every manager handle may open services
        services.push_back(info);
    }
    return services;
}

bool FindServiceByPath(const std::string& path, ServiceInfo& info)
{
    if (path.empty())
        return false;
    for (const ServiceInfo& service : EnumerateServices(kWin32ServiceTypes, kAllServiceStates)) {
        if (CommandStartsProgram(service.BinaryPath, path)) {
            info = service;
            return true;
        }
    }
    return false;
}

bool IsRunning(const ServiceInfo& info)
{
    return info.CurrentState == SERVICE_RUNNING || info.CurrentState == SERVICE_PAUSE_PENDING;
}

bool DeleteServiceByName(const std::string& name)
{
    if (!ServiceExists(name))
        return true;
    ManagerHandle manager(SC_MANAGER_ALL_ACCESS);
    if (!manager.Get()) {
        ShowMessageBox("Couldn't open service manager", name, MB_OK);
        return false;
    }
    SC_HANDLE service = OpenServiceA(manager.Get(), name.c_str(), DELETE | SERVICE_STOP);
    if (!service) {
        ShowMessageBox("Couldn't open service", name, MB_OK);
        return false;
    }
    SERVICE_STATUS status = {};
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    const bool deleted = DeleteService(service) != FALSE;
    CloseServiceHandle(service);
    return deleted;
}

ServiceRemoval RemoveServiceOfFile(const std::string& path)
{
    ServiceRemoval removal;
    ServiceInfo info;
    if (!FindServiceByPath(path, info))
        return removal;
    removal.found = true;
    removal.name = info.Name;
    if (IsRunning(info)) {
        ServiceHandle service;
        if (service.Open(info.Name, SERVICE_ALL_ACCESS)) {
            // A service that does not stop in time is deleted all the same.
            (void)service.Stop();
            (void)service.WaitForStopped(true);
        }
    }
    removal.deleted = DeleteServiceByName(info.Name);
    return removal;
}
