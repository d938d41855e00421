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
    // Fills the body, from the top down to the bottom of the left picture, white.
    void PaintWhiteBody();
    // The text background of the page's own controls on the white body.
    [[nodiscard]] INT_PTR WhiteControlColour(HDC context);

    UninstallerApp& m_app;
    HFONT m_dialogFont = nullptr;
    HBRUSH m_whiteBrush = nullptr;
};
