#pragma once

#include <string>

struct FlowContext;

// The uninstall conducted by a VoScript uninstall script, in the application's script engine.
// False when an event function failed; its error was shown.
bool RunScriptedFlow(const FlowContext& flow, const std::string& script);
