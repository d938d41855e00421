#include "app/pages/dialog_page.h"

#include <vector>

INT_PTR DialogPage::ShowModal(int templateId, HWND owner)
{
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner, Procedure,
        reinterpret_cast<LPARAM>(this));
}

HWND DialogPage::CreateModeless(int templateId)
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, Procedure,
        reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogPage::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<DialogPage*>(lParam)->m_window = window;
    }
    auto* page = reinterpret_cast<DialogPage*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!page)
        return FALSE;
    INT_PTR result = FALSE;
    if (!page->HandleMessage(message, wParam, lParam, result))
        return FALSE;
    return result;
}

bool PumpOneMessage()
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        // A quit request belongs to the loop that runs beneath us; give it back.
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return true;
}

std::string ControlText(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    const int length = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length) + 2, '\0');
    GetWindowTextA(control, text.data(), length + 1);
    return text.data();
}

void SetControlText(HWND dialog, int controlId, const std::string& text)
{
    SetDlgItemTextA(dialog, controlId, text.c_str());
}

void ShowControl(HWND dialog, int controlId, bool show)
{
    ShowWindow(GetDlgItem(dialog, controlId), show ? SW_SHOW : SW_HIDE);
}

void CenterWindow(HWND window)
{
    RECT own, area;
    GetWindowRect(window, &own);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int x = area.left + ((area.right - area.left) - (own.right - own.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
