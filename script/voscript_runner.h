#pragma once

#include "script/counted.h"
#include "script/script_host.h"
#include "script/script_object.h"

#include <string>
#include <vector>

class ScriptEngine;

// What the platform lends the checking run. The portable runner has none of it: a call into
// VBScript fails and the system classes are missing. On Windows the runner calls VBScript
// through the Windows Script host and has the system objects and classes.
struct RunnerPlatform {
    bool (*callVbsFunction)(const std::string& code, const std::string& functionName,
                            const std::vector<VbsArgument>& arguments, std::string& result,
                            std::vector<std::string>& errorTexts) = nullptr;
    Counted<ScriptObject> (*createSystemClass)(const std::string& className) = nullptr;
    // Registers the host objects ("Service", "RegKey") before the script is loaded.
    void (*registerObjects)(ScriptEngine& engine) = nullptr;
    // The folder of the script file: "#include" files and the files that the script's objects
    // name are looked for there. Empty: no folder.
    std::string scriptFolder;
};

// The checking run of the command-line runner: loads the script text, calls the function with
// the texts as unnamed text arguments, and writes to output one line per message box
// ("MessageBox: CAPTION: TEXT"), then "result: TEXT" or "error: code=C line=L word=W". Line
// breaks inside a text are written as \n. Returns 0 on success, 1 on a load or script error.
[[nodiscard]] int RunVoScript(const std::string& scriptText, const std::string& functionName,
                              const std::vector<std::string>& arguments, std::string& output,
                              const RunnerPlatform& platform = {});
