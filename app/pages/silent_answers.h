#pragma once

#include <string>

class RunLog;

// In a silent uninstall nobody is there to press a button: every message box, of a script or
// of the system operations, is written to the log and answered with its default button.
int AnswerBoxSilently(RunLog& log, const std::string& caption, const std::string& text, unsigned style);

// Routes the system operations' boxes to the log for the rest of the process.
void AnswerSystemBoxesSilently(RunLog& log);
