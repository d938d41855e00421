#pragma once

#include "script/script_host.h"
#include "wsh/script_dialogs.h"

#include <windows.h>
#include <ole2.h>
#include <activscp.h>

#include <memory>
#include <string>
#include <vector>

class DispatchDriver;
struct ActiveScriptSite;

// The script languages a host can start. Any value but JScriptLanguage means VBScript.
enum ScriptLanguage : int {
    DefaultLanguage = 0,
    VBScriptLanguage = 1,
    JScriptLanguage = 2,
};

// Runs script text in one of the system's Active Scripting engines and calls its functions
// by name. Every failure is collected as a text (the engine's script errors, and "COM Error"
// texts for failed steps); nothing is shown here, the users show the texts. The host
// initialises COM on its thread for as long as it lives.
class ActiveScriptHost {
public:
    // The engines it starts show their own dialogs, or not.
    explicit ActiveScriptHost(ScriptDialogs dialogs = ScriptDialogs::Allowed);
    ~ActiveScriptHost();
    ActiveScriptHost(const ActiveScriptHost&) = delete;
    ActiveScriptHost& operator=(const ActiveScriptHost&) = delete;

    // Starts a new engine of the language (DefaultLanguage: VBScript), dropping the
    // engine, script and errors of before. False when a step failed (its text is recorded).
    [[nodiscard]] bool InitEngine(int language);
    // Parses and runs the text in the engine, starting one first when there is none. A text
    // that fails to parse or run drops the engine, so the next AddScript starts a new one.
    [[nodiscard]] bool AddScript(const std::string& text);
    // Calls a function of the added script. result is empty when the script has no such
    // function, or no script was added; that is no failure. False when the call itself failed.
    [[nodiscard]] bool CallScriptFunction(const std::string& name, const std::vector<VbsArgument>& arguments,
                                          std::string& result);
    // Makes object visible to scripts under name; an engine is started first when there is none.
    bool ExposeObject(const std::string& name, IUnknown* object);
    // Drops the engine and the script.
    void Release();

    // Records "COM Error: 0x%08lx\n" and text when result is a failure.
    bool CheckResult(HRESULT result, const std::string& text);

    [[nodiscard]] bool HasScriptError() const;
    [[nodiscard]] const std::vector<std::string>& ErrorTexts() const;

private:
    void ClearErrors();

    std::unique_ptr<DispatchDriver> m_driver;
    std::unique_ptr<ActiveScriptSite> m_site;
    IActiveScript* m_script = nullptr;
    IActiveScriptParse* m_parse = nullptr;
    bool m_initialised = false;
    bool m_uninitialiseCom = false;
};
