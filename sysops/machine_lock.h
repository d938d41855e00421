#pragma once

#include <string>

// A machine-wide named mutex, held from Take until the object goes or the process ends (an
// ended process gives it up with it, so a killed run never blocks the next one).
class MachineLock {
public:
    enum class Taking { Taken, HeldElsewhere, Failed };

    MachineLock() = default;
    ~MachineLock();
    MachineLock(const MachineLock&) = delete;
    MachineLock& operator=(const MachineLock&) = delete;

    // Takes the mutex "Global\<name>", every session of the machine seeing the same one;
    // a backslash in the name becomes '_'. HeldElsewhere when another process has it.
    [[nodiscard]] Taking Take(const std::string& name);

private:
    void* m_mutex = nullptr;
};
