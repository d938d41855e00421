#include "script/builtin_commands.h"

#include "script/argument_list.h"
#include "script/function_instance.h"
#include "script/script_engine.h"
#include "script/script_text.h"

namespace {

constexpr int MessageBoxOk = 0; // the style of a box with an OK button only

// An argument that may be a variable, a quoted literal or a plain word. Only an unquoted word
// may name a variable: "Total" stays Total even where a variable total exists.
std::string WordOrVariableText(ScriptEngine& engine, const ArgumentList& arguments, std::size_t number,
                               FunctionInstance* caller)
{
    const ScriptValue* value = arguments.Arg(number);
    if (value && value->Type() == TypeString)
        return value->ToString();
    return engine.VariableText(arguments.ArgText(number, false), caller);
}

// The text of the source goes into the variable that the first argument names.
bool DataCopy(ScriptEngine& engine, ArgumentList& arguments, FunctionInstance* caller)
{
    arguments.SetArg(1, WordOrVariableText(engine, arguments, 2, caller));
    return true;
}

// Text, caption and style; the button pressed is the result. A style passed in a variable is
// read from the variable, like the text and the caption.
bool ShowMessageBox(ScriptEngine& engine, ArgumentList& arguments, FunctionInstance* caller)
{
    std::string text = arguments.Arg(1) ? engine.ValueText(*arguments.Arg(1), caller) : std::string();
    std::string caption;
    if (arguments.Arg(2))
        caption = engine.ValueText(*arguments.Arg(2), caller);
    else
        caption = engine.DefaultCaption().empty() ? "Prompt" : engine.DefaultCaption();
    int style = arguments.Arg(3) ? ReadDecimalInt(engine.ValueText(*arguments.Arg(3), caller)) : MessageBoxOk;
    arguments.SetResultInt(engine.Host().ShowMessageBox(caption, text, style), TypeInt);
    return true;
}

// Continues at the label (argument 3 as written) when the first two texts are equal in any case.
bool CompareAndGoto(ScriptEngine&, ArgumentList& arguments, FunctionInstance* caller)
{
    if (caller && arguments.CompareArgs(1, 2) == 0)
        caller->Goto(arguments.ArgText(3, false));
    return true;
}

// Calls a function of the VBScript code the script included (or the host gave). Strings pass
// as strings, everything else as its integer; the result is a string.
bool CallVbsFunction(ScriptEngine& engine, ArgumentList& arguments, FunctionInstance* caller)
{
    if (engine.VbsCode().empty()) {
        arguments.SetResult("", TypeString);
        return false;
    }
    std::string functionName = WordOrVariableText(engine, arguments, 1, caller);
    std::vector<VbsArgument> vbsArguments;
    for (std::size_t number = 2; number <= arguments.Count(); ++number) {
        const ScriptValue* value = arguments.Arg(number);
        if (value->Type() == TypeVariableReference) {
            ScriptVariable* variable = engine.FindVariable(value->Text(), caller);
            if (!variable)
                return false;
            value = &variable->Value();
        }
        VbsArgument argument;
        argument.isString = value->Type() == TypeString;
        if (argument.isString)
            argument.text = value->ToString();
        else
            argument.number = value->ToInt();
        vbsArguments.push_back(std::move(argument));
    }
    std::string result;
    std::vector<std::string> errorTexts;
    bool called = engine.Host().CallVBSFunction(engine.VbsCode(), functionName, vbsArguments, result, errorTexts);
    for (const auto& errorText : errorTexts)
        (void)engine.Host().ShowMessageBox("VoScript", errorText, MessageBoxOk);
    arguments.SetResult(result, TypeString);
    return called;
}

struct CommandEntry {
    std::string_view name;
    BuiltInCommand command;
    const char* arguments;
};

constexpr CommandEntry g_commands[] = {
    {"DataCpy", DataCopy, "target variable, source"},
    {"MessageBox", ShowMessageBox, "text, [caption], [style]"},
    {"DataCmpGoto", CompareAndGoto, "text, text, label"},
    {"CallVBSFunction", CallVbsFunction, "function name, [argument...]"},
};

}

BuiltInCommand FindBuiltInCommand(std::string_view name)
{
    for (const auto& entry : g_commands) {
        if (SameName(entry.name, name))
            return entry.command;
    }
    return nullptr;
}

std::vector<MethodName> BuiltInCommandNames()
{
    std::vector<MethodName> names;
    for (const auto& entry : g_commands)
        names.push_back({entry.name.data(), NameMatch::AnyCase, entry.arguments});
    return names;
}
