#pragma once

#include "app/pages/dialog_page.h"
#include "app/pages/page_context.h"
#include "app/run/uninstall_run.h"
#include "sysops/step_times.h"
#include "ui/page_chrome.h"

#include <functional>
#include <string>
#include <utility>

// Sent by the progress page to itself once it is on screen: the run starts inside this
// message's handler, so the page has painted before the first removal and its own modal loop
// lies beneath the run.
inline constexpr UINT StartRunMessage = 0x1DD1;

// The modal page under which the whole removal runs: the flow hands it the work, which reports
// to the page as its view, and the page closes itself with OK at the end.
class ProgressDialog : public DialogPage, public RunView {
public:
    using Work = std::function<void(RunView& view)>;

    ProgressDialog(PageContext context, Work work) : m_context(std::move(context)), m_work(std::move(work)) {}
    ~ProgressDialog() override;

    // True when the page ended with OK, which it always does once the run has gone through.
    bool Show();

    void SetStatusText(const std::string& text) override;
    void ShowRemoveLabel(bool show) override;
    void SetProgressRange(unsigned short total) override;
    void AdvanceProgress(int n) override;
    void PumpOneMessage() override;
    void NoteStepDone(const char* step) override;

private:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnInitDialog();
    void OnStartRun();
    void WriteBoundTexts();
    void ShowPosition(ULONGLONG now);
    void ShowStatusText(ULONGLONG now);

    PageContext m_context;
    Work m_work;
    int m_position = 0;
    ULONGLONG m_lastBarUpdate = 0;
    ULONGLONG m_lastQueueLook = 0;
    bool m_queueBusy = false;
    ULONGLONG m_lastStatusWrite = 0;
    bool m_statusTimerSet = false;
    std::string m_shownStatusText;
    bool m_firstFramePainted = false;
    HFONT m_dialogFont = nullptr;
    std::string m_headingText;
    std::string m_statusText;
    PictureStatic m_banner;
    StepTotal m_statusTime{"status-text"};
    StepTotal m_advanceTime{"advance"};
};
