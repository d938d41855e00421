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
    // The command written to MyDocCmd.bat in a new work folder of its own in the temp folder
    // (see work_folder.h), run waited, the file and its folder removed afterwards.
    static constexpr int kBatchMode = 3;

    // Any other mode starts the command and returns at once. The text is always empty.
    std::string Run(const std::string& command, int mode);

    struct RunState;

private:
    void RunWaited(const std::string& commandLine, const std::string& workFolder);

    std::shared_ptr<RunState> m_state;
};
