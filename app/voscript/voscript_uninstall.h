#pragma once

#include "app/flows/scripted_flow.h"
#include "app/voscript/voscript_runner.h"

#include <string>

// A text on one output line: a line break inside it becomes the two characters \n.
[[nodiscard]] std::string OneLineText(const std::string& text);
class ArgumentList;
class FunctionInstance;

// The "Uninstall" object of the voscript runner: it prints every call with its arguments and
// its result, and shows no page. DoDialog answers each page as its default button does
// (DefaultAnswerOf); the finish page's launch entries are printed and written back unchanged.
// GetModuleFile, GetCurAppID and the profile's first values come from the setup; written
// profile values live in memory, so a script reads back what it wrote and nothing touches the
// machine.
[[nodiscard]] Counted<ScriptObject> MakePrintingUninstallObject(std::string& output, const RunnerSetup& setup);

// Whether the printing object was told to cancel the uninstall.
[[nodiscard]] bool PrintingUninstallCancelled(const ScriptObject& object);

// The host objects of a runner: the printing Uninstall object, and the system object the
// runner was given (none natively, see voscript_main.cpp).
[[nodiscard]] UninstallHostObjects RunnerHostObjects(std::string& output, const RunnerSetup& setup,
                                                     Counted<ScriptObject> system);

// One call as the runner prints it: OBJECT.METHOD(ARGS), a variable holding an object by its
// name and every other argument as its text in quotes.
[[nodiscard]] std::string PrintedCall(const std::string& objectName, const std::string& method,
                                      const ArgumentList& arguments, FunctionInstance* caller);
