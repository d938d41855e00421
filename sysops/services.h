#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One installed service with its configuration.
struct ServiceInfo {
    std::string Name;
    std::string DisplayName;
    std::string BinaryPath; // empty when the configuration could not be read
    uint32_t ServiceType = 0;
    uint32_t StartType = 0;
    uint32_t ErrorControl = 0;
    uint32_t CurrentState = 0;
};

// Win32 services of their own and shared processes together.
constexpr uint32_t kWin32ServiceTypes = 0x30;
// Active and inactive services.
constexpr uint32_t kAllServiceStates = 3;

// True when the service opens for querying its configuration.
[[nodiscard]] bool ServiceExists(const std::string& name);

// The services of the given types and states, in the system's order; empty when the
// manager cannot be opened.
[[nodiscard]] std::vector<ServiceInfo> EnumerateServices(uint32_t type, uint32_t state);

// The first Win32 service whose binary path starts path as its program (see
// CommandStartsProgram: in quotes or not, with arguments or without); false when none, or
// when path is empty.
[[nodiscard]] bool FindServiceByPath(const std::string& path, ServiceInfo& info);

// RUNNING or PAUSE_PENDING.
[[nodiscard]] bool IsRunning(const ServiceInfo& info);

// Stops and marks the service for deletion; true when there is no such service or the
// deletion was accepted. A manager or service that cannot be opened is reported in a
// message box captioned with the service name.
bool DeleteServiceByName(const std::string& name);

// What the service step did for one recorded executable.
struct ServiceRemoval {
    bool found = false;   // a service runs the file
    bool deleted = false; // its deletion was accepted
    std::string name;     // the service's name, when found
};

// The uninstall's service step for one recorded executable: the service that runs it is
// stopped (waiting up to 10 s, pumping messages) and deleted, whether it stopped or not.
ServiceRemoval RemoveServiceOfFile(const std::string& path);
