#include "app/pages/progress_dialog.h"

#include "app/pages/resource.h"
#include "ui/coalesced_repaint.h"
#include "ui/language_file.h"
#include "ui/page_texts.h"

#include <commctrl.h>

namespace {

// Ten pictures a second: the status line and the bar move steadily while the run removes.
// Under Wine every repaint of a control is flushed to the X server; at sixty a second the
// painting still cost more than the removals. The status text itself goes to its control at
// the same rate: a person reads a few lines a second, while the files step names thousands.
constexpr UINT kStatusRepaintMs = 100;
constexpr ULONGLONG kBarRepaintMs = 100;

// How often the run looks into its message queue when it found it empty the last time. Each
// look is a trip to the window server under Wine, dearer than removing a file; a frame at
// sixty a second keeps the page as lively as looking at every advance.
constexpr ULONGLONG kQueueLookMs = 16;

// Brings a status text that came too soon after the last one to its control, when no further
// text follows in time (a service that takes its while to stop, the end of a step).
constexpr UINT_PTR kStatusTimer = 1;

constexpr PageText kLanguageTexts[] = {
    {IDC_HEADING, kProcessSection},
    {IDC_REMOVE_LABEL, kProcessSection},
    {IDCANCEL, kButtonsSection, "Cancel"},
};

}

ProgressDialog::~ProgressDialog()
{
    if (m_dialogFont)
        DeleteObject(m_dialogFont);
}

bool ProgressDialog::Show()
{
    return ShowModal(IDD_PROGRESS_PAGE) == IDOK;
}

bool ProgressDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return true;
    case StartRunMessage:
        OnStartRun();
        return true;
    case WM_TIMER:
        if (wParam != kStatusTimer)
            return false;
        KillTimer(m_window, kStatusTimer);
        m_statusTimerSet = false;
        if (m_statusText != m_shownStatusText)
            ShowStatusText(GetTickCount64());
        return true;
    case WM_COMMAND:
        // The run always goes to its end and closes the page with OK itself: Cancel (and the
        // close box) cannot interrupt it, since a half-removed application could neither run
        // nor be uninstalled again.
        return LOWORD(wParam) == IDCANCEL;
    default:
        return false;
    }
}

void ProgressDialog::WriteBoundTexts()
{
    SetControlText(m_window, IDC_HEADING, m_headingText);
    SetControlText(m_window, IDC_STATUS, m_statusText);
}

void ProgressDialog::OnInitDialog()
{
    const LanguageFile& language = m_context.language;
    WriteBoundTexts();
    m_dialogFont = CreatePageFont(language);
    ApplyFontToDescendants(m_window, m_dialogFont);
    ::PumpOneMessage();
    PostMessageA(m_window, StartRunMessage, 0, 0);

    CoalesceTextRepaints(GetDlgItem(m_window, IDC_STATUS), kStatusRepaintMs);
    m_banner.Attach(m_window, IDC_BANNER);
    if (!m_context.topBannerPath.empty())
        (void)m_banner.LoadFromFile(m_context.topBannerPath);

    ApplyPageTexts(m_window, language, kLanguageTexts);
    MarkStep("page-init");
}

void ProgressDialog::OnStartRun()
{
    MarkStep("run-start");
    if (m_work)
        m_work(*this);
    const ULONGLONG now = GetTickCount64();
    ShowStatusText(now);
    ShowPosition(now);
    m_statusTime.Write();
    m_advanceTime.Write();
    EndDialog(m_window, IDOK);
}

void ProgressDialog::NoteStepDone(const char* step)
{
    MarkStep(step);
}

void ProgressDialog::SetStatusText(const std::string& text)
{
    const StepSpan span(m_statusTime);
    m_statusText = text;
    if (m_statusText == m_shownStatusText)
        return;
    const ULONGLONG now = GetTickCount64();
    if (now - m_lastStatusWrite >= kStatusRepaintMs)
        ShowStatusText(now);
    else if (!m_statusTimerSet)
        m_statusTimerSet = SetTimer(m_window, kStatusTimer, kStatusRepaintMs, nullptr) != 0;
}

void ProgressDialog::ShowStatusText(ULONGLONG now)
{
    // The heading is read back so that a text set on its control survives; writing it back
    // unchanged would only repaint it.
    m_headingText = ControlText(m_window, IDC_HEADING);
    SetControlText(m_window, IDC_STATUS, m_statusText);
    m_shownStatusText = m_statusText;
    m_lastStatusWrite = now;
}

void ProgressDialog::ShowRemoveLabel(bool show)
{
    ShowControl(m_window, IDC_REMOVE_LABEL, show);
}

void ProgressDialog::SetProgressRange(unsigned short total)
{
    SendDlgItemMessageA(m_window, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, total));
}

void ProgressDialog::AdvanceProgress(int n)
{
    const StepSpan span(m_advanceTime);
    const ULONGLONG now = GetTickCount64();
    // At most one message per advance, as ever; while the queue holds messages, every advance
    // serves one, and once it is found empty it is looked at again a frame later.
    if (m_queueBusy || now - m_lastQueueLook >= kQueueLookMs) {
        m_queueBusy = ::PumpOneMessage();
        m_lastQueueLook = now;
    }
    m_position += n;
    // The bar repaints itself synchronously on every new position, which costs more than
    // removing a file; it is moved at most once per interval, and to its final position at
    // the end of the run.
    if (now - m_lastBarUpdate >= kBarRepaintMs)
        ShowPosition(now);
}

void ProgressDialog::ShowPosition(ULONGLONG now)
{
    SendDlgItemMessageA(m_window, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(m_position), 0);
    m_lastBarUpdate = now;
}

void ProgressDialog::PumpOneMessage()
{
    // The run pumps first right after it has set its first status text. The whole page is
    // painted then, so that its first frame shows the heading and that text; pumped one
    // message at a time, the controls would appear one by one between the removals.
    if (!m_firstFramePainted) {
        m_firstFramePainted = true;
        RedrawWindow(m_window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    ::PumpOneMessage();
}
