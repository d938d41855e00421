#pragma once

#include "script/script_host.h"
#include "wsh/script_dialogs.h"

#include <string>
#include <vector>

// The VBScript call of the script command "CallVBSFunction": a new VBScript engine is given
// code, and the function name is called with the arguments. result receives the function's
// result text (empty when the code has no such function), errorTexts every error text the
// Windows Script host collected. False when the code could not be run or the call failed. The
// engine shows its own dialogs when they are allowed.
[[nodiscard]] bool CallVbsFunctionThroughHost(const std::string& code, const std::string& name,
                                              const std::vector<VbsArgument>& arguments, std::string& result,
                                              std::vector<std::string>& errorTexts, ScriptDialogs dialogs);
