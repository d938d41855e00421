// Calls: a script function with its arguments bound to its parameters, and a call by name as
// a script makes it (script function, built-in command, or object method).
#include "script/builtin_commands.h"
#include "script/function_instance.h"
#include "script/script_engine.h"
#include "script/statement_runner.h"

#include <algorithm>

namespace {

// Keeps a running call on the engine's call stack for exactly as long as it runs.
class CallStackEntry {
public:
    CallStackEntry(std::vector<FunctionInstance*>& stack, FunctionInstance& instance)
        : m_stack(stack), m_instance(&instance)
    {
        m_stack.push_back(m_instance);
    }
    ~CallStackEntry()
    {
        // The host may have cleared the list meanwhile; then there is nothing to take off.
        auto found = std::find(m_stack.rbegin(), m_stack.rend(), m_instance);
        if (found != m_stack.rend())
            m_stack.erase(std::next(found).base());
    }
    CallStackEntry(const CallStackEntry&) = delete;
    CallStackEntry& operator=(const CallStackEntry&) = delete;

private:
    std::vector<FunctionInstance*>& m_stack;
    FunctionInstance* m_instance;
};

std::string::size_type MemberDot(const std::string& name)
{
    return name.size() > 1 ? name.find('.', 1) : std::string::npos;
}

}

bool ScriptEngine::CallFunction(const std::string& name, ArgumentList* arguments, FunctionInstance* caller)
{
    ScriptFunction* function = FindFunction(name);
    if (!function) {
        SetError(ErrorNoSuchFunction, name, -1);
        return false;
    }
    if (m_listSegIns.size() >= m_callDepthLimit) {
        SetError(ErrorCallsTooDeep, name, caller ? caller->CurrentSourceLine() : function->HeaderLine());
        return false;
    }
    // The instance lives on the heap: a deep chain of script calls keeps only a few pointers
    // per call on the native stack.
    auto instance = std::make_unique<FunctionInstance>(*this, Counted<ScriptFunction>(function), m_nextInstanceSerial++);
    instance->Parameters().CopyFrom(function->Parameters());
    {
        CallStackEntry running(m_listSegIns, *instance);
        if (arguments && function->Parameters().Count() > 0 && !BindArguments(*instance, *arguments, caller))
            return false;
        if (!RunFunctionBody(*instance))
            return false;
    }
    WriteBackOutParameters(*instance, caller);
    if (arguments)
        arguments->Result().Assign(instance->Parameters().Result());
    return true;
}

// Argument k goes to declared parameter k: the parameter value keeps what was passed, and a
// local of the parameter's name and type receives the value (a referenced variable's value, or
// the argument's text). More arguments than parameters fail the call.
bool ScriptEngine::BindArguments(FunctionInstance& instance, ArgumentList& arguments, FunctionInstance* caller)
{
    ArgumentList& parameters = instance.Parameters();
    const ArgumentList& declared = instance.Function().Parameters();
    for (std::size_t number = 1; number <= arguments.Count(); ++number) {
        ScriptVariable* parameter = parameters.Variable(number);
        const ScriptValue& argument = *arguments.Arg(number);
        bool bound = parameter != nullptr;
        if (bound) {
            parameter->Value().AssignKeepType(argument);
            auto local = CreateDeclaredVariable(TypeNameFromCode(declared.Arg(number)->Type()), parameter->Name());
            bound = local != nullptr;
            if (bound && argument.Type() == TypeVariableReference) {
                ScriptVariable* referenced = FindVariable(argument.Text(), caller);
                bound = referenced != nullptr;
                if (bound)
                    local->Value().AssignKeepType(referenced->Value());
            } else if (bound) {
                local->Value().SetText(argument.ToString());
            }
            if (bound)
                instance.Locals().Append(std::move(local));
        }
        if (!bound) {
            SetErrorFlagAt(instance.Function().Name(),
                           caller ? caller->CurrentSourceLine() : instance.Function().HeaderLine());
            return false;
        }
    }
    return true;
}

// A parameter flagged "out" names the caller's variable by the text it was given; the callee's
// local of the parameter's name is stored into that variable when it exists. The name is taken
// from the stored text rather than from the value's text form, so that int, double and bool
// parameters write back too.
void ScriptEngine::WriteBackOutParameters(FunctionInstance& instance, FunctionInstance* caller)
{
    if (m_listSegIns.empty())
        return;
    ArgumentList& parameters = instance.Parameters();
    for (std::size_t number = 1; number <= parameters.Count(); ++number) {
        ScriptVariable* parameter = parameters.Variable(number);
        const std::string& target = parameter->Value().Text();
        if (!parameter->IsOut() || target.empty() || !FindVariable(target, caller))
            continue;
        if (ScriptVariable* local = instance.Locals().Find(parameter->Name()))
            SetVariable(target, local->Value(), caller);
    }
}

bool ScriptEngine::CallByName(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    if (!arguments.Engine())
        arguments.SetEngine(this);
    bool called = false;
    auto dot = MemberDot(name);
    if (dot != std::string::npos) {
        called = CallMember(name, dot, arguments, caller);
    } else if (HasFunction(name)) {
        called = CallFunction(name, &arguments, caller);
    } else if (BuiltInCommand command = FindBuiltInCommand(name)) {
        called = command(*this, arguments, caller);
        if (!called)
            SetErrorFlag(name);
    } else {
        SetErrorFlag(name);
    }
    if (!called)
        return false;
    for (std::size_t number = 1; number <= arguments.Count(); ++number) {
        ScriptVariable* argument = arguments.Variable(number);
        if (argument->IsOut() && !argument->Name().empty())
            SetVariable(argument->Name(), argument->Value(), caller);
    }
    return true;
}

// "object.method": the variable before the first "." must hold an object that knows the method.
bool ScriptEngine::CallMember(const std::string& name, std::string::size_type dot, ArgumentList& arguments,
                              FunctionInstance* caller)
{
    ScriptVariable* holder = FindVariable(std::string_view(name).substr(0, dot), caller);
    // Held for the call: the method may drop the variable that holds the object.
    Counted<ScriptObject> object(holder ? holder->Value().Object() : nullptr);
    if (!object || !object->InvokeMethod(name.substr(dot + 1), arguments, caller)) {
        SetError(ErrorMemberCall, name, -1);
        return false;
    }
    return true;
}
