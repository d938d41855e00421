#include "script/voscript_runner.h"

#include "script/argument_list.h"
#include "script/script_engine.h"

namespace {

// A line break inside a text (CR LF, LF or CR) becomes the two characters \n.
std::string OneLine(const std::string& text)
{
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\r' || text[i] == '\n')
            line += "\\n";
        else
            line += text[i];
    }
    return line;
}

class RunnerHost final : public ScriptHost {
public:
    RunnerHost(std::string& output, const RunnerPlatform& platform) : m_output(output), m_platform(platform) {}

    // Every box answers OK.
    [[nodiscard]] int ShowMessageBox(const std::string& caption, const std::string& text, int) override
    {
        m_output += "MessageBox: " + OneLine(caption) + ": " + OneLine(text) + "\n";
        return 1;
    }

    // Without the platform's VBScript engine a script that calls into VBScript fails.
    [[nodiscard]] bool CallVBSFunction(const std::string& code, const std::string& functionName,
                                       const std::vector<VbsArgument>& arguments, std::string& result,
                                       std::vector<std::string>& errorTexts) override
    {
        result.clear();
        if (!m_platform.callVbsFunction)
            return false;
        return m_platform.callVbsFunction(code, functionName, arguments, result, errorTexts);
    }

    [[nodiscard]] Counted<ScriptObject> CreateSystemClass(const std::string& className) override
    {
        return m_platform.createSystemClass ? m_platform.createSystemClass(className) : Counted<ScriptObject>();
    }

private:
    std::string& m_output;
    const RunnerPlatform& m_platform;
};

int ReportError(const ScriptEngine& engine, std::string& output)
{
    const ScriptError& error = engine.Error();
    output += "error: code=" + std::to_string(error.code) + " line=" + std::to_string(error.line)
        + " word=" + OneLine(error.word) + "\n";
    return 1;
}

}

int RunVoScript(const std::string& scriptText, const std::string& functionName,
                const std::vector<std::string>& arguments, std::string& output, const RunnerPlatform& platform)
{
    RunnerHost host(output, platform);
    ScriptEngine engine(&host);
    engine.SetScriptFolder(platform.scriptFolder);
    if (platform.registerObjects)
        platform.registerObjects(engine);
    if (!engine.LoadText(scriptText))
        return ReportError(engine, output);
    ArgumentList callArguments(&engine, nullptr);
    for (const auto& text : arguments) {
        auto argument = MakeCounted<ScriptVariable>();
        argument->Value().SetText(text);
        callArguments.AppendVariable(std::move(argument));
    }
    if (!engine.CallFunction(functionName, &callArguments, nullptr))
        return ReportError(engine, output);
    output += "result: " + OneLine(callArguments.Result().ToString()) + "\n";
    return 0;
}
