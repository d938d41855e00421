#include "app/flows/app_script_host.h"

#include "app/pages/answerer.h"
#include "script_system/system_objects.h"
#include "wsh/vbs_function_call.h"

int AppScriptHost::ShowMessageBox(const std::string& caption, const std::string& text, int style)
{
    // Script boxes, the error report among them, have no owner: a script may show one while no
    // page of ours is up, and the active window may then belong to nothing of the uninstall.
    return m_answerer.AnswerBox(text, caption, static_cast<unsigned>(style), BoxOwner::None);
}

bool AppScriptHost::CallVBSFunction(const std::string& code, const std::string& functionName,
                                    const std::vector<VbsArgument>& arguments, std::string& result,
                                    std::vector<std::string>& errorTexts)
{
    return CallVbsFunctionThroughHost(code, functionName, arguments, result, errorTexts,
                                      ScriptDialogsOf(AllowsScriptDialogs()));
}

Counted<ScriptObject> AppScriptHost::CreateSystemClass(const std::string& className)
{
    return MakeSystemClass(className);
}

bool AppScriptHost::AllowsScriptDialogs() const { return m_answerer.AllowsScriptDialogs(); }
