#include "app/pages/wizard_page.h"

#include "app/pages/resource.h"
#include "ui/language_file.h"

WizardPage::~WizardPage()
{
    if (m_dialogFont)
        DeleteObject(m_dialogFont);
    if (m_whiteBrush)
        DeleteObject(m_whiteBrush);
}

void WizardPage::ApplyDialogFont()
{
    m_dialogFont = CreatePageFont(m_context.language);
    ApplyFontToDescendants(m_window, m_dialogFont);
}

void WizardPage::CreateWhiteBrush(std::initializer_list<int> whiteTextControls)
{
    m_whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
    m_whiteTextControls = whiteTextControls;
}

void WizardPage::PaintWhiteBody()
{
    PAINTSTRUCT paint;
    HDC context = BeginPaint(m_window, &paint);
    RECT body;
    GetClientRect(m_window, &body);
    RECT picture;
    GetWindowRect(GetDlgItem(m_window, IDC_LEFT_PICTURE), &picture);
    POINT bottom = {picture.right, picture.bottom};
    ScreenToClient(m_window, &bottom);
    body.bottom = bottom.y;
    FillRect(context, &body, m_whiteBrush);
    EndPaint(m_window, &paint);
}

bool WizardPage::HasWhiteText(HWND control) const
{
    const int id = GetDlgCtrlID(control);
    for (int white : m_whiteTextControls) {
        if (white == id)
            return true;
    }
    return false;
}

bool WizardPage::HandleWhiteBodyPage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    switch (message) {
    case WM_PAINT:
        PaintWhiteBody();
        return true;
    case WM_CTLCOLORSTATIC:
        // Check boxes and radio buttons ask with this message too. The texts and pictures on
        // the body paint themselves, and the button bar keeps the system's colours.
        if (!m_whiteBrush || !HasWhiteText(reinterpret_cast<HWND>(lParam)))
            return false;
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        result = reinterpret_cast<INT_PTR>(m_whiteBrush);
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            OnFinish();
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(m_window, IDCANCEL);
            return true;
        }
        return false;
    default:
        return false;
    }
}
