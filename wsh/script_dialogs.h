#pragma once

// Whether the engines may show their own dialogs (VBScript's MsgBox and InputBox). A silent
// uninstall turns them off for the whole process: the engine then shows nothing and goes on as
// if the dialog had been closed at once.
void SetScriptDialogsAllowed(bool allowed);
[[nodiscard]] bool ScriptDialogsAllowed();
