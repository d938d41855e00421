#pragma once

#include <windows.h>

#include <string>

// A page built from a dialog template: the window procedure finds the page object through the
// window's user data and hands each message to the page's own handler.
class DialogPage {
public:
    virtual ~DialogPage() = default;

    // Shows the page modally and returns the dialog result (IDOK, IDCANCEL, or -1 when the
    // template could not be loaded).
    INT_PTR ShowModal(int templateId, HWND owner = nullptr);

    // Creates the page modeless, without a parent; null on failure.
    HWND CreateModeless(int templateId);

    [[nodiscard]] HWND Window() const { return m_window; }

protected:
    // Returns true when the message was handled; result is what the dialog procedure returns.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) = 0;

    HWND m_window = nullptr;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// Removes and dispatches at most one pending message of this thread, so that a page whose work
// runs inside a message handler still repaints and reacts between two steps. True when one was
// dispatched (a quit request, given back to the loop beneath, does not count).
bool PumpOneMessage();

// The text of a control, whatever its length.
[[nodiscard]] std::string ControlText(HWND dialog, int controlId);
void SetControlText(HWND dialog, int controlId, const std::string& text);
void ShowControl(HWND dialog, int controlId, bool show);
void CenterWindow(HWND window);
