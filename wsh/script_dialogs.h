#pragma once

// Whether an engine may show its own dialogs (VBScript's MsgBox and InputBox). A refused
// dialog shows nothing, and the engine goes on as if it had been closed at once. The program
// that starts a host decides; a silent uninstall refuses them.
enum class ScriptDialogs { Allowed, Refused };

[[nodiscard]] inline ScriptDialogs ScriptDialogsOf(bool allowed)
{
    return allowed ? ScriptDialogs::Allowed : ScriptDialogs::Refused;
}
