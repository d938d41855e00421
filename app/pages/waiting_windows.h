#pragma once

#include "app/pages/wizard_page.h"

#include <string>

// The two modeless windows an uninstall script opens around long work of its own: a small box
// and a wizard-sized page. They have no message loop of their own; whatever loop runs serves
// them.
class WaitingWindow : public WizardPage {
public:
    enum class Kind { Box, Page };

    WaitingWindow(PageContext context, Kind kind, std::string prompt)
        : WizardPage(std::move(context)), m_kind(kind), m_prompt(std::move(prompt)) {}
    ~WaitingWindow() override;

    // Creates the window without a parent, centred and shown; false when it could not be.
    bool Open();

private:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnInitDialog();

    Kind m_kind;
    std::string m_prompt;
    PictureStatic m_banner;
};
