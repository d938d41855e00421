#include "app/flows/app_script_host.h"

#include "app/pages/silent_answers.h"
#include "script_system/system_objects.h"
#include "wsh/vbs_function_call.h"

#include <windows.h>

int AppScriptHost::ShowMessageBox(const std::string& caption, const std::string& text, int style)
{
    if (m_silentLog)
        return AnswerBoxSilently(*m_silentLog, caption, text, static_cast<unsigned>(style));
    // Script boxes, the error report among them, have no owner: a script may show one while no
    // page of ours is up, and the active window may then belong to nothing of the uninstall.
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), static_cast<unsigned>(style));
}

bool AppScriptHost::CallVBSFunction(const std::string& code, const std::string& functionName,
                                    const std::vector<VbsArgument>& arguments, std::string& result,
                                    std::vector<std::string>& errorTexts)
{
    return CallVbsFunctionThroughHost(code, functionName, arguments, result, errorTexts);
}

Counted<ScriptObject> AppScriptHost::CreateSystemClass(const std::string& className)
{
    return MakeSystemClass(className);
}
