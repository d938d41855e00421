#include "wsh/vbs_function_call.h"

#include "wsh/active_script_host.h"

bool CallVbsFunctionThroughHost(const std::string& code, const std::string& name,
                                const std::vector<VbsArgument>& arguments, std::string& result,
                                std::vector<std::string>& errorTexts, ScriptDialogs dialogs)
{
    result.clear();
    ActiveScriptHost host(dialogs);
    bool called = host.InitEngine(VBScriptLanguage) && host.AddScript(code)
        && host.CallScriptFunction(name, arguments, result);
    errorTexts = host.ErrorTexts();
    return called && !host.HasScriptError();
}
