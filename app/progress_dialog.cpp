#include "app/progress_dialog.h"

#include "app/resource.h"
#include "app/system_removal.h"
#include "app/uninstaller_app.h"

#include <commctrl.h>

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

    m_banner.Attach(m_window, IDC_BANNER);
    if (!m_app.TopBannerPath().empty())
        (void)m_banner.LoadFromFile(m_app.TopBannerPath());

    const LanguageFile& language = session.Language();
    if (language.IsLoaded()) {
        SetControlText(m_window, IDC_HEADING, language.GetString("SdUninstallProcess", "2029"));
        SetControlText(m_window, IDC_REMOVE_LABEL, language.GetString("SdUninstallProcess", "1001"));
        SetControlText(m_window, IDCANCEL, language.GetString("WizardButtons", "Cancel"));
    }
}

void ProgressDialog::OnStartRun()
{
    UninstallSession& session = m_app.Session();
    SystemRemoval operations(session);
    UninstallRun run(*this, operations, &session.Language());
    run.Execute(session.Record());
    EndDialog(m_window, IDOK);
}

void ProgressDialog::SetStatusText(const std::string& text)
{
    // The heading is read back first so that a text set on its control survives the rewrite.
    m_headingText = ControlText(m_window, IDC_HEADING);
    m_statusText = text;
    WriteBoundTexts();
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
    ::PumpOneMessage();
    m_position += n;
    SendDlgItemMessageA(m_window, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(m_position), 0);
}

void ProgressDialog::PumpOneMessage()
{
    ::PumpOneMessage();
}
