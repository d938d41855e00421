#pragma once

#include "app/pages/dialog_page.h"
#include "app/pages/page_context.h"
#include "ui/page_chrome.h"

#include <initializer_list>
#include <utility>
#include <vector>

// The common start of the finish, restart and waiting pages: the page font from the language
// file, sent to every control, and the white body of the finish and restart pages.
class WizardPage : public DialogPage {
public:
    explicit WizardPage(PageContext context) : m_context(std::move(context)) {}
    ~WizardPage() override;

protected:
    void ApplyDialogFont();
    // The white body of the finish and restart pages. The listed controls, the choices on the
    // body, draw their texts on white; every other control keeps the dialog's colours.
    void CreateWhiteBrush(std::initializer_list<int> whiteTextControls);
    // The white body's painting, the colours of the controls on it, and Finish and Cancel.
    // True when the message was one of them.
    bool HandleWhiteBodyPage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // What Finish does on the page.
    virtual void OnFinish() {}

    PageContext m_context;
    HFONT m_dialogFont = nullptr;
    HBRUSH m_whiteBrush = nullptr;

private:
    void PaintWhiteBody();
    [[nodiscard]] bool HasWhiteText(HWND control) const;

    std::vector<int> m_whiteTextControls;
};
