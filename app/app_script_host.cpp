#include "app/app_script_host.h"

#include "script/objects/system/system_objects.h"
#include "sysops/message_box.h"
#include "wsh/vbs_function_call.h"

int AppScriptHost::ShowMessageBox(const std::string& caption, const std::string& text, int style)
{
    return ::ShowMessageBox(text, caption, static_cast<unsigned>(style));
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
