#pragma once

#include "script/script_host.h"

class Answerer;

// The uninstaller's side of the script engine: the script's boxes, which the answerer shows or
// answers unseen, the system script classes, and the Windows Script host for the script's
// VBScript calls, whose own dialogs the answerer allows or not.
class AppScriptHost final : public ScriptHost {
public:
    explicit AppScriptHost(Answerer& answerer) : m_answerer(answerer) {}

    [[nodiscard]] int ShowMessageBox(const std::string& caption, const std::string& text, int style) override;
    [[nodiscard]] bool CallVBSFunction(const std::string& code, const std::string& functionName,
                                       const std::vector<VbsArgument>& arguments, std::string& result,
                                       std::vector<std::string>& errorTexts) override;
    [[nodiscard]] Counted<ScriptObject> CreateSystemClass(const std::string& className) override;
    [[nodiscard]] bool AllowsScriptDialogs() const override;

private:
    Answerer& m_answerer;
};
