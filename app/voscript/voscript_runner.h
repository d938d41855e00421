#pragma once

#include "script/counted.h"
#include "script/script_host.h"
#include "script/script_object.h"
#include "script/statement_observer.h"
#include "wsh/script_dialogs.h"

#include <string>
#include <utility>
#include <vector>

// What the runner tells a script in place of the uninstaller's machine and record.
struct RunnerSetup {
    // The answers of the message boxes in turn; once they are used up, and without any, a box
    // answers with its default button, as in a silent uninstall.
    std::vector<int> answers;
    // Service, registry, library and System calls that would change something are carried out
    // (the Windows runner only); otherwise they are printed and answered.
    bool real = false;
    // What GetModuleFile gives: the uninstaller that will run the script.
    std::string uninstallerPath;
    // From the install record, when one is given: GetCurAppID, the application's name and the
    // uninstall folder whose ProFile.ini the profile functions read.
    std::string appId;
    std::string appName;
    std::string uninstallFolder;
    // The keys and values of section ProFileData of that ProFile.ini, in file order; written
    // values stay in memory.
    std::vector<std::pair<std::string, std::string>> profileValues;
    // The VBScript code that the uninstaller takes from jt.dll.
    std::string windowsScript;
};

// What the platform lends the checking runs. The portable runner has little of it: a call into
// VBScript fails, the system classes are missing and "System" knows only what needs no system.
// On Windows the runner calls VBScript through the Windows Script host and has the system
// objects and classes.
struct RunnerPlatform {
    bool (*callVbsFunction)(const std::string& code, const std::string& functionName,
                            const std::vector<VbsArgument>& arguments, std::string& result,
                            std::vector<std::string>& errorTexts, ScriptDialogs dialogs) = nullptr;
    Counted<ScriptObject> (*createSystemClass)(const std::string& className) = nullptr;
    // The host objects registered beside the printing "Uninstall" object; none when null.
    Counted<ScriptObject> system;
    Counted<ScriptObject> service;
    Counted<ScriptObject> regKey;
    // The folder of the script file: "#include" files and the files that the script's objects
    // name are looked for there. Empty: no folder.
    std::string scriptFolder;
    // Told of every statement and host call (--trace); none when null.
    StatementObserver* observer = nullptr;
    RunnerSetup setup;
};

// The checking runs of the command-line runner. Both register the host objects of an
// uninstall: the printing "Uninstall" stand-in (voscript_uninstall.h) and the platform's
// "System", "Service" and "RegKey"; then the uninstall constants. They write to output one line
// per message box ("MessageBox: CAPTION: TEXT") and per Uninstall call; line breaks inside a
// text are written as \n.

// Loads the script text and calls the function with the texts as unnamed text arguments,
// then writes "result: TEXT" or "error: code=C (MEANING) line=L word=W". Returns 0 on success, 1 on a
// load or script error.
[[nodiscard]] int RunVoScript(const std::string& scriptText, const std::string& functionName,
                              const std::vector<std::string>& arguments, std::string& output,
                              const RunnerPlatform& platform = {});

// Runs the uninstall events as the uninstaller does: "event: NAME" before each event called,
// the uninstaller's error box as a message box line captioned "error", and "cancelled" when the
// script cancelled the uninstall. Returns 0 when every event went through, 1 otherwise.
[[nodiscard]] int RunVoScriptEvents(const std::string& scriptText, std::string& output,
                                    const RunnerPlatform& platform = {});

// True for a text with line feeds but no carriage return: the reader ends lines only at CR,
// so such a file reads as one long line.
[[nodiscard]] bool HasLineFeedsOnly(const std::string& text);
