#pragma once

#include "script/counted.h"
#include "script/script_object.h"

#include <string>

class ScriptEngine;
struct ScriptError;

// The host objects of an uninstall script, registered in this order under these names. The
// caller keeps its own reference to each, since a script may write "System = Nothing".
struct UninstallHostObjects {
    Counted<ScriptObject> uninstall; // "Uninstall"
    Counted<ScriptObject> system;    // "System"
    Counted<ScriptObject> service;   // "Service"
    Counted<ScriptObject> regKey;    // "RegKey"
};

// What the scripted flow needs from the program around it.
class ScriptedFlowSite {
public:
    virtual ~ScriptedFlowSite() = default;

    // The uninstall without a script, for a script that has no OnUninstallBegin.
    virtual void RunDefaultFlow() = 0;
    // The VBScript code that the script's CallVBSFunction calls run.
    [[nodiscard]] virtual std::string ReadWindowsScript() = 0;
    // Whether the script called CancelUninstall.
    [[nodiscard]] virtual bool IsCancelled() = 0;
    // Shows the report of the event that failed.
    virtual void ReportScriptError(const std::string& text) = 0;
    // Told the name of each event just before it is called.
    virtual void BeforeEvent(const char* /*name*/) {}
};

// The events, in the order the uninstaller calls them.
inline constexpr const char* kUninstallEvents[] = {"OnUninstallBegin", "OnUninstallProcess", "OnUninstallEnd"};

// Registers the host objects and then the uninstall constants.
void RegisterUninstallHost(ScriptEngine& engine, const UninstallHostObjects& objects);

// Runs the events of a loaded script: OnUninstallBegin, OnUninstallProcess (not after a
// cancel) and OnUninstallEnd, each when the script has it; without OnUninstallBegin the
// default flow instead. The first event that fails is reported and ends the flow: false.
bool RunScriptEvents(ScriptEngine& engine, ScriptedFlowSite& site);

// The whole scripted flow: loads the script, registers the host, runs the events.
bool RunScriptedUninstall(ScriptEngine& engine, const std::string& script, const UninstallHostObjects& objects,
                          ScriptedFlowSite& site);

// What a preview says of a scripted uninstall: that the script conducts it and which of its
// events it defines. The script is loaded apart from the uninstall's engine and never run.
[[nodiscard]] std::string DescribeScriptedUninstall(const std::string& script);

// "ErrorCode:%d , ErrorLine=%d , ErrorWord=%s"
[[nodiscard]] std::string FormatScriptError(const ScriptError& error);

inline constexpr const char* kScriptErrorCaption = "error";
