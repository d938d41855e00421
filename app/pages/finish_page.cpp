#include "app/pages/finish_page.h"

#include "app/pages/resource.h"
#include "sysops/step_times.h"
#include "sysops/user_start.h"
#include "ui/language_file.h"
#include "ui/page_texts.h"
#include "ui/string_table.h"
#include "ui/text_format.h"

namespace {

constexpr int kShownLaunches = 2;
constexpr int kLaunchControls[kShownLaunches] = {IDC_LAUNCH_FIRST, IDC_LAUNCH_SECOND};

constexpr PageText kLanguageTexts[] = {
    {IDC_TITLE, kFinishSection},
    {IDC_BACK, kButtonsSection, "Back"},
    {IDOK, kButtonsSection, "Finish"},
};

}

void FinishPage::AddLaunch(const std::string& command, const std::string& parameters, const std::string& prompt, unsigned state)
{
    m_launches.push_back({command, parameters, prompt, state});
}

PageResult FinishPage::Show()
{
    m_endedWithOk = ShowModal(IDD_FINISH_PAGE) == IDOK;
    return m_result;
}

bool FinishPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    if (message == WM_INITDIALOG) {
        OnInitDialog();
        result = TRUE;
        return true;
    }
    return HandleWhiteBodyPage(message, wParam, lParam, result);
}

void FinishPage::ShowLaunchEntry(size_t index, int controlId)
{
    if (index >= m_launches.size()) {
        ShowControl(m_window, controlId, false);
        return;
    }
    std::string prompt = m_launches[index].prompt;
    if (prompt.empty())
        prompt = FormatText(GetText(TextId::Launch, &m_context.language), m_appName);
    ShowControl(m_window, controlId, true);
    SetControlText(m_window, controlId, prompt);
    CheckDlgButton(m_window, controlId, m_launches[index].state != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void FinishPage::OnInitDialog()
{
    const LanguageFile& language = m_context.language;
    ApplyDialogFont();
    CreateWhiteBrush({IDC_LAUNCH_FIRST, IDC_LAUNCH_SECOND});
    const HFONT font = CurrentPageFont(m_window, m_dialogFont);
    m_title.Attach(m_window, IDC_TITLE, font, kTitleWeight);
    m_resultLine.Attach(m_window, IDC_HEADING, font);
    m_message.Attach(m_window, IDC_MESSAGE, font);
    SetWindowTextA(m_window, m_caption.c_str());
    SetControlText(m_window, IDC_HEADING, GetText(TextId::UninstallSucceeded, &language));
    SetControlText(m_window, IDC_MESSAGE, FormatText(GetText(TextId::Uninstalled, &language), m_appName));

    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PROGRAM));
    SendMessageA(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    m_leftPicture.Attach(m_window, IDC_LEFT_PICTURE);
    ShowControl(m_window, IDC_LEFT_PICTURE, true);
    if (!m_context.leftBannerPath.empty())
        (void)m_leftPicture.LoadFromFile(m_context.leftBannerPath);
    else
        (void)m_leftPicture.LoadFromResource(IDB_LEFT_PICTURE);

    for (size_t i = 0; i < kShownLaunches; ++i)
        ShowLaunchEntry(i, kLaunchControls[i]);

    ApplyPageTexts(m_window, language, kLanguageTexts);
    MarkStep("finish-init");
}

void FinishPage::OnFinish()
{
    m_result = PageCancel;
    EndDialog(m_window, IDOK);
    for (size_t i = 0; i < kShownLaunches && i < m_launches.size(); ++i) {
        Launch& launch = m_launches[i];
        if (IsDlgButtonChecked(m_window, kLaunchControls[i]) != BST_CHECKED) {
            launch.state = 0;
            continue;
        }
        launch.state = 1;
        if (!launch.command.empty())
            (void)OpenForTheUser(launch.command, launch.parameters, "", SW_SHOW);
    }
}
