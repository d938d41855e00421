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
    explicit RunnerHost(std::string& output) : m_output(output) {}

    // Every box answers OK.
    [[nodiscard]] int ShowMessageBox(const std::string& caption, const std::string& text, int) override
    {
        m_output += "MessageBox: " + OneLine(caption) + ": " + OneLine(text) + "\n";
        return 1;
    }

    // The runner hosts no VBScript engine; a script that calls into VBScript fails there.
    [[nodiscard]] bool CallVBSFunction(const std::string&, const std::string&, const std::vector<VbsArgument>&,
                                       std::string& result, std::vector<std::string>&) override
    {
        result.clear();
        return false;
    }

private:
    std::string& m_output;
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
                const std::vector<std::string>& arguments, std::string& output)
{
    RunnerHost host(output);
    ScriptEngine engine(&host);
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
