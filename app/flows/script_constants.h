#pragma once

#include <vector>

class ScriptEngine;

struct ScriptConstant {
    const char* name;
    int value;
};

// The read-only int constants the uninstaller gives every uninstall script: the session
// states (SS_*), the page results that DoDialog returns (OT_*) and the setup modes (SM_*).
void DefineUninstallConstants(ScriptEngine& engine);

// The same constants, in the order they are defined.
[[nodiscard]] std::vector<ScriptConstant> UninstallConstants();
