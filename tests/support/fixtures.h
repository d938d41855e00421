#pragma once

#include <windows.h>

#include <string>

// The test programs of tests/fixtures, built beside the test executables.
[[nodiscard]] std::string FixturePath(const std::string& fileName);

// Copies a fixture to destination (a new name gives it new behaviour, see the fixtures).
bool CopyFixture(const std::string& fileName, const std::string& destination);

// A process started for a test; ended by its id when the object goes, if still running.
class StartedProcess {
public:
    // Starts commandLine as it is; Id() is 0 when it could not be started.
    explicit StartedProcess(const std::string& commandLine);
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    [[nodiscard]] DWORD Id() const { return m_id; }
    // Whether it ends within ms.
    [[nodiscard]] bool EndsWithin(DWORD ms) const;

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// Whether the process with this id still runs.
[[nodiscard]] bool ProcessIsRunning(DWORD processId);

// A service of the local machine for one test, UnInstallTest-<label>-<pid>-<n>, running
// binaryPath as its own process on demand. When the object goes, a process it left
// running is ended by its id and the service is deleted.
class ScratchService {
public:
    ScratchService(const std::string& label, const std::string& binaryPath);
    ~ScratchService();
    ScratchService(const ScratchService&) = delete;
    ScratchService& operator=(const ScratchService&) = delete;

    [[nodiscard]] const std::string& Name() const { return m_name; }
    [[nodiscard]] bool IsReady() const { return m_ready; }
    // Starts it with the arguments and waits until it reports RUNNING.
    bool Start(const char* argument = nullptr);
    [[nodiscard]] DWORD State() const;
    [[nodiscard]] DWORD ProcessId() const;
    [[nodiscard]] bool Exists() const;

private:
    std::string m_name;
    bool m_ready = false;
    DWORD m_processId = 0;
};
