#include "app/pages/waiting_windows.h"

#include "app/pages/resource.h"
#include "ui/language_file.h"
#include "ui/page_texts.h"
#include "ui/string_table.h"

namespace {

constexpr PageText kPageLanguageTexts[] = {
    {IDCANCEL, kButtonsSection, "Cancel"},
};

}

WaitingWindow::~WaitingWindow()
{
    if (m_window)
        DestroyWindow(m_window);
}

bool WaitingWindow::Open()
{
    HWND window = CreateModeless(m_kind == Kind::Box ? IDD_WAITING_BOX : IDD_WAITING_PAGE);
    if (!window)
        return false;
    CenterWindow(window);
    UpdateWindow(window);
    ShowWindow(window, SW_SHOW);
    return true;
}

bool WaitingWindow::HandleMessage(UINT message, WPARAM, LPARAM, INT_PTR& result)
{
    if (message == WM_INITDIALOG) {
        OnInitDialog();
        result = TRUE;
        return true;
    }
    if (message == WM_NCDESTROY)
        m_window = nullptr;
    return false;
}

void WaitingWindow::OnInitDialog()
{
    const LanguageFile& language = m_context.language;
    ApplyDialogFont();
    if (m_kind == Kind::Box) {
        if (!m_prompt.empty())
            SetControlText(m_window, IDC_HEADING, m_prompt);
        else if (language.IsLoaded())
            SetControlText(m_window, IDC_HEADING, GetText(TextId::WaitingForUninstall, &language));
        return;
    }
    m_banner.Attach(m_window, IDC_BANNER);
    if (!m_context.topBannerPath.empty())
        (void)m_banner.LoadFromFile(m_context.topBannerPath);
    SetControlText(m_window, IDC_HEADING, m_prompt.empty() ? GetText(TextId::WaitingForUninstall, &language) : m_prompt);
    ApplyPageTexts(m_window, language, kPageLanguageTexts);
}
