#pragma once

#include "app/run/uninstall_run.h"

class UninstallerApp;

// The whole removal on the real machine, shown by the view and told to the app's log.
void RunSystemRemoval(UninstallerApp& app, RunView& view);

// The removal of a silent uninstall: no page, so nothing to show and no messages to pump.
class SilentRunView final : public RunView {
public:
    void SetStatusText(const std::string&) override {}
    void ShowRemoveLabel(bool) override {}
    void SetProgressRange(unsigned short) override {}
    void AdvanceProgress(int) override {}
    void PumpOneMessage() override {}
};
