#pragma once

#include "app/run/removal_report.h"

#include <string>

// The exit codes of a preview and a silent uninstall, as Windows Installer gives them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRestartNeeded = 3010;
inline constexpr int kExitCancelled = 1602;
inline constexpr int kExitFatalError = 1603;

// How an uninstall (or its preview) ended, as far as its exit code is concerned.
struct RunEnding {
    bool cancelled = false;     // the uninstall script called CancelUninstall
    bool completed = true;      // the run went to its end
    bool restartChosen = false; // the restart page asked for a restart
    OutcomeCounts outcomes;     // what became of the items
};

struct ExitDecision {
    int code = 0;
    std::string reason; // the words of the log's last line
};

// Windows Installer's codes: 1602 cancelled, 1603 the run did not complete or something that
// should have gone could neither go nor be scheduled, 3010 the rest goes at the next restart
// (or a restart was asked for), 0 everything the record lets go is gone.
[[nodiscard]] ExitDecision DecideExitCode(const RunEnding& ending);

// "12 removed, 1 kept, 0 not there, 0 failed, 2 at restart".
[[nodiscard]] std::string DescribeOutcomeCounts(const OutcomeCounts& counts);
