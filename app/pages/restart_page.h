#pragma once

#include "app/pages/page_result.h"
#include "app/pages/wizard_page.h"

#include <string>

// Asks whether Windows is to be restarted now. Restarting now is the preselected choice; the
// restart itself happens at the very end of the uninstaller, after the cleanup copy started.
class RestartPage : public WizardPage {
public:
    RestartPage(UninstallerApp& app, std::string caption) : WizardPage(app), m_caption(std::move(caption)) {}

    // PageFinish after Finish, PageCancel when the page was closed otherwise.
    PageResult Show();

private:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnInitDialog();
    void OnFinish() override;

    std::string m_caption;
    PageResult m_result = PageCancel;
    FontStatic m_title;
    FontStatic m_message;
    PictureStatic m_leftPicture;
};
