#pragma once

#include <string>

class UninstallerApp;

// The uninstall without a script: the progress page, then the finish page. True when the
// progress page ended with OK.
bool RunDefaultFlow(UninstallerApp& app);

// The uninstall conducted by a VoScript uninstall script, in the application's script engine.
// False when an event function failed; its error was shown.
bool RunScriptedFlow(UninstallerApp& app, const std::string& script);
