#pragma once

#include "app/pages/page_result.h"
#include "app/pages/wizard_page.h"

#include <string>

// Asks whether Windows is to be restarted now. Restarting now is the preselected choice; the
// restart itself happens at the very end of the uninstaller, after the cleanup copy started.
class RestartPage : public WizardPage {
public:
    // The message names the application.
    RestartPage(PageContext context, std::string caption, std::string appName)
        : WizardPage(std::move(context)), m_caption(std::move(caption)), m_appName(std::move(appName)) {}

    // PageFinish after Finish, PageCancel when the page was closed otherwise.
    PageResult Show();
    // Whether the user pressed Finish with "restart now" chosen; the flow then asks for the
    // restart.
    [[nodiscard]] bool RestartChosen() const { return m_restartChosen; }

private:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnInitDialog();
    void OnFinish() override;

    std::string m_caption;
    std::string m_appName;
    bool m_restartChosen = false;
    PageResult m_result = PageCancel;
    FontStatic m_title;
    FontStatic m_message;
    PictureStatic m_leftPicture;
};
