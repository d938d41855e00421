#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Owner of one open service handle. Closing with no handle does nothing; destruction closes.
class ServiceHandle {
public:
    ServiceHandle() = default;
    ~ServiceHandle();
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;

    // Opens the service of the local machine's active database with the given rights.
    [[nodiscard]] bool Open(const std::string& name, DWORD access);
    void Close();

    // Each true when the service accepted the control.
    [[nodiscard]] bool Stop();
    [[nodiscard]] bool Pause();
    [[nodiscard]] bool Continue();
    [[nodiscard]] bool Control(DWORD code);
    [[nodiscard]] bool Start(const std::vector<std::string>& arguments);

    // The service's current state (SERVICE_STOPPED ...), 0 when it cannot be queried.
    [[nodiscard]] uint32_t CurrentState() const;

    // Polls up to 20 times, 500 ms apart, for the stopped state, dispatching window messages
    // during the pauses when pump is set; false when the service did not stop within 10 s.
    [[nodiscard]] bool WaitForStopped(bool pump) const;

    [[nodiscard]] SC_HANDLE Handle() const { return m_service; }

private:
    SC_HANDLE m_service = nullptr;
};
