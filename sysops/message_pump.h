#pragma once

#include <windows.h>

// Keeps the pages alive during long waits: dispatches every window message that arrives
// for ms milliseconds, sleeping in between rather than polling.
void PumpMessagesFor(unsigned ms);

// Dispatches the window messages that are waiting now, and returns; a quit message is posted
// again for the loop it was meant for. Long walks call it between their steps.
void PumpWaitingMessages();

// How a responsive wait ended.
enum class WaitOutcome { Signalled, QuitMessage, Failed };

// Waits for the handle to be signalled while dispatching window messages. A quit message
// ends the wait early and is posted again, so that the loop it was meant for still sees it.
WaitOutcome WaitPumpingMessages(HANDLE handle);
