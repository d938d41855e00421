#include "app/app_script_host.h"

#include "script/objects/system_objects.h"
#include "sysops/message_box.h"

int AppScriptHost::ShowMessageBox(const std::string& caption, const std::string& text, int style)
{
    return ::ShowMessageBox(text, caption, static_cast<unsigned>(style));
}

bool AppScriptHost::CallVBSFunction(const std::string&, const std::string&, const std::vector<VbsArgument>&,
                                    std::string& result, std::vector<std::string>&)
{
    // FIXME: the VBScript call goes through the Windows Script host (wsh/), which is not wired
    // in yet; until then a script's CallVBSFunction fails.
    result.clear();
    return false;
}

Counted<ScriptObject> AppScriptHost::CreateSystemClass(const std::string& className)
{
    return MakeSystemClass(className);
}
