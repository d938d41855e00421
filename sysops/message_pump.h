#pragma once

#include <windows.h>

// Keeps the pages alive during long waits: dispatches every window message that arrives
// for ms milliseconds, sleeping in between rather than polling.
void PumpMessagesFor(unsigned ms);

// How a responsive wait ended.
enum class WaitOutcome { Signalled, QuitMessage, Failed };

// Waits for the handle to be signalled while dispatching window messages. A quit message
// ends the wait early and is posted again, so that the loop it was meant for still sees it.
WaitOutcome WaitPumpingMessages(HANDLE handle);
