#pragma once

#include "script/argument_list.h"
#include "script/script_engine.h"
#include "script/script_host.h"

#include <string>
#include <string_view>
#include <vector>

// Scripts end their lines with carriage returns; tests write them with "\n" for reading.
inline std::string Crlf(std::string_view text)
{
    std::string script;
    for (char character : text) {
        if (character == '\n')
            script += '\r';
        script += character;
    }
    return script;
}

// Records what a script asks of the system; message boxes answer with `answer`.
class RecordingHost final : public ScriptHost {
public:
    struct Box {
        std::string caption;
        std::string text;
        int style;
    };
    struct VbsCall {
        std::string code;
        std::string functionName;
        std::vector<VbsArgument> arguments;
    };

    [[nodiscard]] int ShowMessageBox(const std::string& caption, const std::string& text, int style) override
    {
        boxes.push_back({caption, text, style});
        return answer;
    }

    [[nodiscard]] bool CallVBSFunction(const std::string& code, const std::string& functionName,
                                       const std::vector<VbsArgument>& arguments, std::string& result,
                                       std::vector<std::string>& errorTexts) override
    {
        vbsCalls.push_back({code, functionName, arguments});
        result = vbsResult;
        errorTexts = vbsErrors;
        return vbsSucceeds;
    }

    std::vector<Box> boxes;
    int answer = 1;
    std::vector<VbsCall> vbsCalls;
    std::string vbsResult;
    std::vector<std::string> vbsErrors;
    bool vbsSucceeds = true;
};

// An engine with a recording host and a script loaded from "\n"-separated lines.
struct ScriptFixture {
    RecordingHost host;
    ScriptEngine engine{&host};

    bool Load(std::string_view script) { return engine.LoadText(Crlf(script)); }

    // A host call with text arguments (type 1), as the uninstaller and the runner make it.
    bool Call(const std::string& name, const std::vector<std::string>& texts = {})
    {
        result.Clear();
        ArgumentList arguments(&engine, nullptr);
        for (const auto& text : texts) {
            auto argument = MakeCounted<ScriptVariable>();
            argument->Value().SetText(text);
            arguments.AppendVariable(std::move(argument));
        }
        bool called = engine.CallFunction(name, &arguments, nullptr);
        result.Assign(arguments.Result());
        return called;
    }

    // The text of a global variable, "<none>" when there is none.
    std::string Global(const std::string& name)
    {
        ScriptVariable* variable = engine.FindVariable(name, nullptr);
        return variable ? variable->Value().ToString() : "<none>";
    }

    ScriptValue result;
};
