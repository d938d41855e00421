#include "app/flows/scripted_flow.h"

#include "app/flows/script_constants.h"
#include "script/script_engine.h"
#include "script/script_host.h"

#include <cstdio>

namespace {

// Calls an event the script has; false when the call left the engine's error flag set. The
// flag is never reset, so an error of loading is reported by the first event called.
bool CallEvent(ScriptEngine& engine, const char* name, ScriptedFlowSite& site)
{
    site.BeforeEvent(name);
    (void)engine.CallFunction(name, nullptr, nullptr);
    if (!engine.HasError())
        return true;
    site.ReportScriptError(FormatScriptError(engine.Error()));
    return false;
}

}

void RegisterUninstallHost(ScriptEngine& engine, const UninstallHostObjects& objects)
{
    engine.RegisterObject("Uninstall", objects.uninstall);
    engine.RegisterObject("System", objects.system);
    engine.RegisterObject("Service", objects.service);
    engine.RegisterObject("RegKey", objects.regKey);
    DefineUninstallConstants(engine);
}

bool RunScriptedUninstall(ScriptEngine& engine, const std::string& script, const UninstallHostObjects& objects,
                          ScriptedFlowSite& site)
{
    // A script that does not load completely still runs what it has; its load error is
    // reported by the first event called.
    (void)engine.LoadText(script);
    RegisterUninstallHost(engine, objects);
    return RunScriptEvents(engine, site);
}

bool RunScriptEvents(ScriptEngine& engine, ScriptedFlowSite& site)
{
    if (!engine.HasFunction("OnUninstallBegin")) {
        site.RunDefaultFlow();
        return true;
    }
    engine.SetVbsCode(site.ReadWindowsScript());
    if (!CallEvent(engine, "OnUninstallBegin", site))
        return false;
    // A script that cancelled in OnUninstallBegin skips the removal event.
    if (!site.IsCancelled() && engine.HasFunction("OnUninstallProcess") && !CallEvent(engine, "OnUninstallProcess", site))
        return false;
    if (engine.HasFunction("OnUninstallEnd") && !CallEvent(engine, "OnUninstallEnd", site))
        return false;
    return true;
}

std::string DescribeScriptedUninstall(const std::string& script)
{
    SilentScriptHost host;
    ScriptEngine engine(&host);
    const bool loaded = engine.LoadText(script);
    std::string events;
    for (const char* name : kUninstallEvents) {
        if (engine.HasFunction(name))
            events += (events.empty() ? "" : ", ") + std::string(name);
    }
    std::string text = "an uninstall script conducts this uninstall; ";
    if (!engine.HasFunction("OnUninstallBegin"))
        text += "it has no OnUninstallBegin, so the uninstall runs as without a script";
    else
        text += "its events: " + events + "; below is what its removal run would do";
    if (!loaded)
        text += "; the script does not load completely, and its first event reports the error";
    return text;
}

std::string FormatScriptError(const ScriptError& error)
{
    char text[64];
    std::snprintf(text, sizeof text, "ErrorCode:%d , ErrorLine=%d , ErrorWord=", static_cast<int>(error.code),
                  static_cast<int>(error.line));
    return text + error.word;
}
