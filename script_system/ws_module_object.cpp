// "CWSModule": runs VBScript (or JScript) text through the Windows Script host and calls its
// functions for a script.
#include "script_system/system_classes.h"

#include "script/argument_list.h"
#include "script/objects/method_table.h"
#include "script/objects/system_method_names.h"
#include "script/script_engine.h"
#include "script/script_variable.h"
#include "script_system/script_paths.h"
#include "wsh/active_script_host.h"

#include <fstream>
#include <iterator>
#include <memory>

namespace {

constexpr int kOkOnly = MB_OK;

// The Windows Script host of one module, the language its scripts are added in, and the error
// texts of the last call that failed.
struct ScriptModuleHost {
    explicit ScriptModuleHost(ScriptDialogs dialogs) : host(dialogs) {}

    ActiveScriptHost host;
    int language = VBScriptLanguage;
    std::vector<std::string> errorTexts;
};

class WsModuleObject final : public ScriptObject {
public:
    WsModuleObject() : ScriptObject("CWSModule") {}

    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string& instanceName) override;
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;

    void LoadScript(const std::string& text, const ArgumentList& arguments);
    [[nodiscard]] bool CallMethod(ArgumentList& arguments, FunctionInstance* caller);

private:
    // The host starts COM on the thread; it is made when a script is first loaded.
    [[nodiscard]] ScriptModuleHost& Module(const ArgumentList& arguments);
    void ShowErrors(const ArgumentList& arguments);

    std::unique_ptr<ScriptModuleHost> m_module;
    bool m_failed = false; // the method just run reports failure
};

bool ReadWholeFile(const std::string& path, std::string& contents)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

void LoadFileMethod(WsModuleObject& module, ArgumentList& arguments, FunctionInstance*)
{
    std::string text;
    if (ReadWholeFile(ScriptRelativePath(module, arguments.ArgText(1, true)), text))
        module.LoadScript(text, arguments);
    arguments.SetResultInt(1, TypeInt);
}

void LoadScriptMethod(WsModuleObject& module, ArgumentList& arguments, FunctionInstance*)
{
    module.LoadScript(arguments.ArgText(1, true), arguments);
    arguments.SetResultInt(1, TypeInt);
}

void CallMethodMethod(WsModuleObject& module, ArgumentList& arguments, FunctionInstance* caller)
{
    (void)module.CallMethod(arguments, caller);
}

const MethodHandler<WsModuleObject> kWsModuleMethods[] = {
    {"LoadFile", LoadFileMethod},
    {"LoadScript", LoadScriptMethod},
    {"CallMethod", CallMethodMethod},
};

Counted<ScriptObject> WsModuleObject::CreateInstance(const std::string& instanceName)
{
    auto instance = MakeCounted<WsModuleObject>();
    instance->SetClassName(ClassName());
    instance->SetInstanceName(instanceName);
    return instance;
}

bool WsModuleObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    m_failed = false;
    return DispatchNamedMethod(WsModuleMethodNames(), kWsModuleMethods, *this, name, arguments, caller) && !m_failed;
}

ScriptModuleHost& WsModuleObject::Module(const ArgumentList& arguments)
{
    // The engine's host decides whether the module's engines show their own dialogs.
    if (!m_module) {
        ScriptEngine* engine = Engine() ? Engine() : arguments.Engine();
        m_module = std::make_unique<ScriptModuleHost>(ScriptDialogsOf(!engine || engine->Host().AllowsScriptDialogs()));
    }
    return *m_module;
}

// Only the text of the last load is active: each load starts a new engine. Its errors show
// when a function of it is called.
void WsModuleObject::LoadScript(const std::string& text, const ArgumentList& arguments)
{
    ScriptModuleHost& module = Module(arguments);
    if (module.host.InitEngine(module.language))
        (void)module.host.AddScript(text);
}

// Strings pass as strings, every other value as its integer; the result is a string.
bool WsModuleObject::CallMethod(ArgumentList& arguments, FunctionInstance* caller)
{
    m_failed = true;
    ScriptEngine* engine = Engine() ? Engine() : arguments.Engine();
    std::vector<VbsArgument> scriptArguments;
    for (std::size_t number = 2; number <= arguments.Count(); ++number) {
        const ScriptValue* value = arguments.Arg(number);
        if (value->Type() == TypeVariableReference) {
            ScriptVariable* variable = engine ? engine->FindVariable(value->Text(), caller) : nullptr;
            if (!variable)
                return false;
            value = &variable->Value();
        }
        VbsArgument argument;
        argument.isString = value->Type() == TypeString;
        argument.text = value->ToString();
        if (!argument.isString)
            argument.number = ReadDecimalInt(argument.text);
        scriptArguments.push_back(std::move(argument));
    }
    ScriptModuleHost& module = Module(arguments);
    std::string result;
    const bool called = module.host.CallScriptFunction(arguments.ArgText(1, true), scriptArguments, result);
    if (!called || module.host.HasScriptError()) {
        module.errorTexts = module.host.ErrorTexts();
        ShowErrors(arguments);
        return false;
    }
    arguments.SetResult(result, TypeString);
    m_failed = false;
    return true;
}

void WsModuleObject::ShowErrors(const ArgumentList& arguments)
{
    ScriptEngine* engine = Engine() ? Engine() : arguments.Engine();
    if (!engine)
        return;
    for (const std::string& text : m_module->errorTexts)
        (void)engine->Host().ShowMessageBox("VoScript", text, kOkOnly);
}

}

Counted<ScriptObject> MakeWsModuleClass() { return MakeCounted<WsModuleObject>(); }
