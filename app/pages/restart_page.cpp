#include "app/pages/restart_page.h"

#include "app/pages/resource.h"
#include "ui/language_file.h"
#include "ui/page_texts.h"
#include "ui/text_format.h"

namespace {

constexpr PageText kLanguageTexts[] = {
    {IDC_TITLE, kRebootSection},
    {IDC_RESTART_NOW, kRebootSection},
    {IDC_RESTART_LATER, kRebootSection},
    {IDC_BACK, kButtonsSection, "Back"},
    {IDOK, kButtonsSection, "Finish"},
};

}

PageResult RestartPage::Show()
{
    (void)ShowModal(IDD_RESTART_PAGE);
    return m_result;
}

bool RestartPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    if (message == WM_INITDIALOG) {
        OnInitDialog();
        result = TRUE;
        return true;
    }
    return HandleWhiteBodyPage(message, wParam, lParam, result);
}

void RestartPage::OnInitDialog()
{
    const LanguageFile& language = m_context.language;
    ApplyDialogFont();
    CreateWhiteBrush({IDC_RESTART_NOW, IDC_RESTART_LATER});
    const HFONT font = CurrentPageFont(m_window, m_dialogFont);
    m_title.Attach(m_window, IDC_TITLE, font, kTitleWeight);
    m_message.Attach(m_window, IDC_MESSAGE, font);
    // The restart message is the one text that wraps.
    m_message.SetDrawingFlags(kWordBreak);
    SetWindowTextA(m_window, m_caption.c_str());

    const std::string message = language.IsLoaded() ? language.GetString(kRebootSection, IDC_MESSAGE)
                                                    : ControlText(m_window, IDC_MESSAGE);
    SetControlText(m_window, IDC_MESSAGE, FormatText(message, m_appName));

    m_leftPicture.Attach(m_window, IDC_LEFT_PICTURE);
    if (!m_context.leftBannerPath.empty()) {
        ShowControl(m_window, IDC_LEFT_PICTURE, true);
        (void)m_leftPicture.LoadFromFile(m_context.leftBannerPath);
    }
    CheckRadioButton(m_window, IDC_RESTART_NOW, IDC_RESTART_LATER, IDC_RESTART_NOW);
    ApplyPageTexts(m_window, language, kLanguageTexts);
}

void RestartPage::OnFinish()
{
    m_restartChosen = IsDlgButtonChecked(m_window, IDC_RESTART_NOW) == BST_CHECKED;
    m_result = PageFinish;
    EndDialog(m_window, IDOK);
}
