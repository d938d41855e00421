#pragma once

#include "script/counted.h"
#include "script/script_object.h"

#include <string>
#include <vector>

// The checking runs of the command-line runner. Both register the host objects of an
// uninstall: the printing "Uninstall" stand-in (voscript_uninstall.h), the given "System"
// object (none when null) and no "Service" or "RegKey", so a script can touch nothing; then the
// uninstall constants. They write to output one line per message box ("MessageBox: CAPTION:
// TEXT") and per Uninstall call; line breaks inside a text are written as \n.

// Loads the script text and calls the function with the texts as unnamed text arguments,
// then writes "result: TEXT" or "error: code=C line=L word=W". Returns 0 on success, 1 on a
// load or script error.
[[nodiscard]] int RunVoScript(const std::string& scriptText, const std::string& functionName,
                              const std::vector<std::string>& arguments, std::string& output,
                              Counted<ScriptObject> system = {});

// Runs the uninstall events as the uninstaller does: "event: NAME" before each event called,
// the uninstaller's error box as a message box line captioned "error", and "cancelled" when the
// script cancelled the uninstall. Returns 0 when every event went through, 1 otherwise.
[[nodiscard]] int RunVoScriptEvents(const std::string& scriptText, std::string& output, Counted<ScriptObject> system = {});

// True for a text with line feeds but no carriage return: the reader ends lines only at CR,
// so such a file reads as one long line.
[[nodiscard]] bool HasLineFeedsOnly(const std::string& text);
