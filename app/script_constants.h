#pragma once

class ScriptEngine;

// The read-only int constants the uninstaller gives every uninstall script: the session
// states (SS_*), the page results that DoDialog returns (OT_*) and the setup modes (SM_*).
void DefineUninstallConstants(ScriptEngine& engine);
