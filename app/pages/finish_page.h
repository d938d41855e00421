#pragma once

#include "app/pages/page_result.h"
#include "app/pages/wizard_page.h"

#include <string>
#include <vector>

// The page that closes the uninstall. It can offer up to two programs to start, each with a
// check box; the programs are started when the user presses Finish with the box checked.
class FinishPage : public WizardPage {
public:
    struct Launch {
        std::string command;
        std::string parameters;
        std::string prompt;
        unsigned state = 1; // 1: checked
    };

    FinishPage(PageContext context, std::string caption, std::string appName)
        : WizardPage(std::move(context)), m_caption(std::move(caption)), m_appName(std::move(appName)) {}

    void AddLaunch(const std::string& command, const std::string& parameters, const std::string& prompt, unsigned state);

    // Shows the page; the result is PageCancel whichever way it closed.
    PageResult Show();

    [[nodiscard]] const std::vector<Launch>& Launches() const { return m_launches; }
    [[nodiscard]] bool EndedWithOk() const { return m_endedWithOk; }

private:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnInitDialog();
    void OnFinish() override;
    void ShowLaunchEntry(size_t index, int controlId);

    PageResult m_result = PageCancel;
    std::string m_caption;
    std::string m_appName;
    std::vector<Launch> m_launches;
    FontStatic m_title;
    FontStatic m_resultLine;
    FontStatic m_message;
    PictureStatic m_leftPicture;
    bool m_endedWithOk = false;
};
