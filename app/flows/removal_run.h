#pragma once

#include "app/run/uninstall_run.h"

class RecordWriters;
class RemovalReport;
class UninstallSession;
struct FlowContext;

// The whole removal on the real machine, shown by the view; the report, when there is one,
// hears of every item.
void RunSystemRemoval(UninstallSession& session, const RecordWriters& writers, RemovalReport* report, RunView& view);

// The removal under the progress page, which it reports to; when pages are not shown, with no
// page at all. True when the page ended with OK, as it does once the run has gone through.
bool RunRemovalWithProgress(const FlowContext& flow);

// The removal of a silent uninstall: no page, so nothing to show and no messages to pump.
class SilentRunView final : public RunView {
public:
    void SetStatusText(const std::string&) override {}
    void ShowRemoveLabel(bool) override {}
    void SetProgressRange(unsigned short) override {}
    void AdvanceProgress(int) override {}
    void PumpOneMessage() override {}
};
