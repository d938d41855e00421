#pragma once

#include "app/scripted_flow.h"

#include <string>

// A text on one output line: a line break inside it becomes the two characters \n.
[[nodiscard]] std::string OneLineText(const std::string& text);

// The "Uninstall" object of the voscript runner: it prints every call with its arguments and
// its result, and shows no page. DoDialog answers OT_NEXT for the progress page and OT_FINISH
// for the finish and restart pages, as if the user went straight through; the finish page's
// launch entries are printed and written back unchanged. Profile values live in memory, so a
// script reads back what it wrote, and nothing touches the machine.
[[nodiscard]] Counted<ScriptObject> MakePrintingUninstallObject(std::string& output);

// Whether the printing object was told to cancel the uninstall.
[[nodiscard]] bool PrintingUninstallCancelled(const ScriptObject& object);

// The host objects of a runner: the printing Uninstall object, and the system object the
// runner was given (none natively, see voscript_main.cpp).
[[nodiscard]] UninstallHostObjects RunnerHostObjects(std::string& output, Counted<ScriptObject> system);
