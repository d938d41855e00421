#pragma once

#include "script/script_host.h"

class RunLog;

// The uninstaller's side of the script engine: real message boxes, the system script classes,
// and the Windows Script host for the script's VBScript calls.
class AppScriptHost final : public ScriptHost {
public:
    // From now on the script's boxes go to the log, answered with their default button.
    void AnswerBoxesSilently(RunLog& log) { m_silentLog = &log; }

    [[nodiscard]] int ShowMessageBox(const std::string& caption, const std::string& text, int style) override;
    [[nodiscard]] bool CallVBSFunction(const std::string& code, const std::string& functionName,
                                       const std::vector<VbsArgument>& arguments, std::string& result,
                                       std::vector<std::string>& errorTexts) override;
    [[nodiscard]] Counted<ScriptObject> CreateSystemClass(const std::string& className) override;

private:
    RunLog* m_silentLog = nullptr;
};
