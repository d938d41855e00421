#include "app/run/exit_code.h"

namespace {

std::string Items(int count) { return std::to_string(count) + (count == 1 ? " item" : " items"); }

}

ExitDecision DecideExitCode(const RunEnding& ending)
{
    const int failed = ending.outcomes[RemovalOutcome::Failed];
    const int atRestart = ending.outcomes[RemovalOutcome::AtRestart];
    if (ending.cancelled)
        return {kExitCancelled, "the uninstall script cancelled the uninstall"};
    if (!ending.completed)
        return {kExitFatalError, "the uninstall did not complete"};
    if (failed > 0)
        return {kExitFatalError, Items(failed) + " could neither be removed nor scheduled for the restart"};
    if (atRestart > 0)
        return {kExitRestartNeeded, Items(atRestart) + " still in use go at the next restart"};
    if (ending.restartChosen)
        return {kExitRestartNeeded, "the uninstall asked for a restart"};
    return {kExitSuccess, "everything the record lets go is gone"};
}

std::string DescribeOutcomeCounts(const OutcomeCounts& counts)
{
    static constexpr RemovalOutcome kOrder[] = {RemovalOutcome::Removed, RemovalOutcome::Kept,
                                                RemovalOutcome::NotThere, RemovalOutcome::Failed,
                                                RemovalOutcome::AtRestart};
    std::string text;
    for (RemovalOutcome outcome : kOrder)
        text += (text.empty() ? "" : ", ") + std::to_string(counts[outcome]) + " " + OutcomeName(outcome, false);
    return text;
}
