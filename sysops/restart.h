#pragma once

// Restarts Windows, forcing programs to close, after enabling the shutdown privilege; false
// when the privilege cannot be had or the request is refused.
bool RestartWindows();
