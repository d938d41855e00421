#pragma once

#include <windows.h>

// A static control repaints itself at once each time its text is set. A page that names every
// file it removes would then spend more time painting than removing, and no one can read two
// thousand names a second anyway. After this call the control still takes every new text at
// once (its window text is always the latest), but repaints at most once per interval, and
// always with the latest text.
void CoalesceTextRepaints(HWND control, UINT intervalMs);
