#pragma once

#include "app/dialog_page.h"
#include "ui/page_chrome.h"

class UninstallerApp;

// The common start of the finish, restart and waiting pages: the page font from the language
// file, sent to every control, and the white body of the finish and restart pages.
class WizardPage : public DialogPage {
public:
    explicit WizardPage(UninstallerApp& app) : m_app(app) {}
    ~WizardPage() override;

protected:
    void ApplyDialogFont();
    void CreateWhiteBrush();
    // The white body of the finish and restart pages: painting, the colours of the controls
    // on it, and Finish and Cancel. True when the message was one of them.
    bool HandleWhiteBodyPage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // What Finish does on the page.
    virtual void OnFinish() {}

    UninstallerApp& m_app;
    HFONT m_dialogFont = nullptr;
    HBRUSH m_whiteBrush = nullptr;

private:
    void PaintWhiteBody();
    [[nodiscard]] INT_PTR WhiteControlColour(HDC context);
};
