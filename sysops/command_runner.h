#pragma once

#include <memory>
#include <string>

// Runs command lines hidden, for scripts. A waited run starts one worker thread that starts
// the program, waits for it and signals an event, while the calling thread keeps dispatching
// window messages; the worker shares the run's state, so that a wait cut short by a quit
// message leaves the worker all it needs.
class CommandRunner {
public:
    // Waited run of the command line.
    static constexpr int kWaitedMode = 1;
    // The command written to %TEMP%\MyDocCmd.bat, run waited, the file deleted afterwards.
    static constexpr int kBatchMode = 3;

    // Any other mode starts the command and returns at once. The text is always empty.
    std::string Run(const std::string& command, int mode);

    struct RunState;

private:
    void RunWaited(const std::string& commandLine, const std::string& fileToDelete);

    std::shared_ptr<RunState> m_state;
};
