#include "app/progress_dialog.h"

#include "app/resource.h"
#include "app/system_removal.h"
#include "app/uninstaller_app.h"

#include "ui/coalesced_repaint.h"
#include "ui/page_texts.h"

#include <commctrl.h>

namespace {

// Ten pictures a second: the status line and the bar move steadily while the run removes.
// Under Wine every repaint of a control is flushed to the X server; at sixty a second the
// painting still cost more than the removals.
constexpr UINT kStatusRepaintMs = 100;
constexpr ULONGLONG kBarRepaintMs = 100;

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
    UninstallSession& session = m_app.Session();
    WriteBoundTexts();
    m_dialogFont = CreatePageFont(session.Language());
    ApplyFontToDescendants(m_window, m_dialogFont);
    ::PumpOneMessage();
    PostMessageA(m_window, StartRunMessage, 0, 0);

    CoalesceTextRepaints(GetDlgItem(m_window, IDC_STATUS), kStatusRepaintMs);
    m_banner.Attach(m_window, IDC_BANNER);
    if (!m_app.TopBannerPath().empty())
        (void)m_banner.LoadFromFile(m_app.TopBannerPath());

    ApplyPageTexts(m_window, session.Language(), kLanguageTexts);
    MarkStep("page-init");
}

void ProgressDialog::OnStartRun()
{
    UninstallSession& session = m_app.Session();
    MarkStep("run-start");
    session.NoteRemovalRun();
    SystemRemoval operations(session);
    UninstallRun run(*this, operations, &session.Language());
    run.Execute(session.Record());
    ShowPosition(GetTickCount64());
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
    // The heading is read back so that a text set on its control survives; writing it back
    // unchanged would only repaint it.
    m_headingText = ControlText(m_window, IDC_HEADING);
    if (text == m_statusText)
        return;
    m_statusText = text;
    SetControlText(m_window, IDC_STATUS, m_statusText);
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
    ::PumpOneMessage();
    m_position += n;
    // The bar repaints itself synchronously on every new position, which costs more than
    // removing a file; it is moved at most once per interval, and to its final position at
    // the end of the run.
    const ULONGLONG now = GetTickCount64();
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
