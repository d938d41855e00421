#pragma once

#include "script/script_host.h"

// The uninstaller's side of the script engine: real message boxes, the system script classes,
// and the Windows Script host for the script's VBScript calls.
class AppScriptHost final : public ScriptHost {
public:
    [[nodiscard]] int ShowMessageBox(const std::string& caption, const std::string& text, int style) override;
    [[nodiscard]] bool CallVBSFunction(const std::string& code, const std::string& functionName,
                                       const std::vector<VbsArgument>& arguments, std::string& result,
                                       std::vector<std::string>& errorTexts) override;
    [[nodiscard]] Counted<ScriptObject> CreateSystemClass(const std::string& className) override;
};
