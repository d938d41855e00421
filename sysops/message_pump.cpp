#include "sysops/message_pump.h"

namespace {

// Dispatches what is waiting; false when a quit message came, which is then left to the
// caller.
bool DispatchWaitingMessages(WPARAM& quitCode)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitCode = message.wParam;
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

// Sleeps until a handle is signalled, a message is in the queue (one seen before but not
// yet removed counts too) or the time is up.
DWORD WaitForHandlesOrInput(DWORD count, const HANDLE* handles, DWORD ms)
{
    return MsgWaitForMultipleObjectsEx(count, handles, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}

void PumpMessagesFor(unsigned ms)
{
    const DWORD start = GetTickCount();
    bool pumping = true;
    for (;;) {
        const DWORD passed = GetTickCount() - start;
        if (passed >= ms)
            return;
        if (!pumping) {
            Sleep(ms - passed);
            return;
        }
        WaitForHandlesOrInput(0, nullptr, ms - passed);
        WPARAM quitCode = 0;
        if (!DispatchWaitingMessages(quitCode)) {
            // A pause is not the place to end the program; the page's own loop is, so the
            // quit message goes back and the rest of the pause is slept.
            PostQuitMessage(static_cast<int>(quitCode));
            pumping = false;
        }
    }
}

void PumpWaitingMessages()
{
    WPARAM quitCode = 0;
    if (!DispatchWaitingMessages(quitCode))
        PostQuitMessage(static_cast<int>(quitCode));
}

WaitOutcome WaitPumpingMessages(HANDLE handle)
{
    for (;;) {
        const DWORD woke = WaitForHandlesOrInput(1, &handle, INFINITE);
        if (woke == WAIT_OBJECT_0)
            return WaitOutcome::Signalled;
        if (woke != WAIT_OBJECT_0 + 1)
            return WaitOutcome::Failed;
        WPARAM quitCode = 0;
        if (!DispatchWaitingMessages(quitCode)) {
            PostQuitMessage(static_cast<int>(quitCode));
            return WaitOutcome::QuitMessage;
        }
    }
}
