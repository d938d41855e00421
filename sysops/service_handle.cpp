#include "sysops/service_handle.h"

#include "sysops/message_pump.h"

namespace {

constexpr int kStopPolls = 20;
constexpr unsigned kStopPollMs = 500;

}

ServiceHandle::~ServiceHandle()
{
    Close();
}

bool ServiceHandle::Open(const std::string& name, DWORD access)
{
    Close();
    SC_HANDLE manager = OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return false;
    m_service = OpenServiceA(manager, name.c_str(), access);
    CloseServiceHandle(manager);
    return m_service != nullptr;
}

void ServiceHandle::Close()
{
    if (m_service)
        CloseServiceHandle(m_service);
    m_service = nullptr;
}

bool ServiceHandle::Control(DWORD code)
{
    SERVICE_STATUS status = {};
    return m_service && ControlService(m_service, code, &status);
}

bool ServiceHandle::Stop() { return Control(SERVICE_CONTROL_STOP); }

bool ServiceHandle::Pause() { return Control(SERVICE_CONTROL_PAUSE); }

bool ServiceHandle::Continue() { return Control(SERVICE_CONTROL_CONTINUE); }

bool ServiceHandle::Start(const std::vector<std::string>& arguments)
{
    if (!m_service)
        return false;
    std::vector<const char*> vector;
    for (const std::string& argument : arguments)
        vector.push_back(argument.c_str());
    return StartServiceA(m_service, static_cast<DWORD>(vector.size()), vector.empty() ? nullptr : vector.data());
}

uint32_t ServiceHandle::CurrentState() const
{
    SERVICE_STATUS status = {};
    if (!m_service || !QueryServiceStatus(m_service, &status))
        return 0;
    return status.dwCurrentState;
}

bool ServiceHandle::WaitForStopped(bool pump) const
{
    for (int poll = 0; poll < kStopPolls; ++poll) {
        if (CurrentState() == SERVICE_STOPPED)
            return true;
        if (pump)
            PumpMessagesFor(kStopPollMs);
        else
            Sleep(kStopPollMs);
    }
    return false;
}
