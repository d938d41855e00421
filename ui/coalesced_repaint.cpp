#include "ui/coalesced_repaint.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kRepaintTimer = 1;

struct RepaintState {
    UINT intervalMs;
    ULONGLONG lastRepaint = 0;
    bool timerPending = false;
};

void RepaintNow(HWND control, RepaintState& state)
{
    InvalidateRect(control, nullptr, TRUE);
    state.lastRepaint = GetTickCount64();
}

LRESULT CALLBACK CoalescingProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* state = reinterpret_cast<RepaintState*>(data);
    switch (message) {
    case WM_SETTEXT: {
        // The default procedure stores the text without painting; the static control's own
        // handler would paint synchronously. A subclass procedure is a Unicode procedure, so
        // the text arrives here as a wide string.
        const LRESULT stored = DefWindowProcW(control, message, wParam, lParam);
        if (GetTickCount64() - state->lastRepaint >= state->intervalMs)
            RepaintNow(control, *state);
        else if (!state->timerPending)
            state->timerPending = SetTimer(control, kRepaintTimer, state->intervalMs, nullptr) != 0;
        return stored;
    }
    case WM_TIMER:
        if (wParam != kRepaintTimer)
            break;
        KillTimer(control, kRepaintTimer);
        state->timerPending = false;
        RepaintNow(control, *state);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, CoalescingProcedure, 0);
        delete state;
        break;
    default:
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}

void CoalesceTextRepaints(HWND control, UINT intervalMs)
{
    if (!control)
        return;
    auto* state = new RepaintState{intervalMs};
    if (!SetWindowSubclass(control, CoalescingProcedure, 0, reinterpret_cast<DWORD_PTR>(state)))
        delete state;
}
