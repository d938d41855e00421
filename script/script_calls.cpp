// Calls: a script function with its arguments bound to its parameters, and a call by name as
// a script makes it (script function, built-in command, or object method).
#include "script/builtin_commands.h"
#include "script/compiler.h"
#include "script/function_instance.h"
#include "script/script_engine.h"
#include "script/statement_runner.h"

#include <algorithm>

namespace {

std::string::size_type MemberDot(const std::string& name)
{
    return name.size() > 1 ? name.find('.', 1) : std::string::npos;
}

}

// A call may go deeper while the depth limit and the native stack limit allow it. The stack in
// use is measured from the frame of the outermost call.
bool ScriptEngine::MayCallDeeper()
{
    if (m_listSegIns.size() >= m_callDepthLimit)
        return false;
    auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    if (m_listSegIns.empty()) {
        m_stackBase = here;
        return true;
    }
    return m_stackLimit == 0 || here >= m_stackBase || m_stackBase - here <= m_stackLimit;
}

SCRIPT_OUT_OF_LINE void ScriptEngine::ReportCallsTooDeep(const ScriptFunction& function, FunctionInstance* caller)
{
    SetError(ErrorCallsTooDeep, function.Name(), caller ? caller->CurrentSourceLine() : function.HeaderLine());
}

bool ScriptEngine::CallFunction(const std::string& name, ArgumentList* arguments, FunctionInstance* caller)
{
    ScriptFunction* function = FindFunction(name);
    if (!function) {
        SetError(ErrorNoSuchFunction, name);
        return false;
    }
    return CallScriptFunction(*function, arguments, caller);
}

// Only the running instance stays in this frame while the body runs; everything before and
// after the body is done out of line.
bool ScriptEngine::CallScriptFunction(ScriptFunction& function, ArgumentList* arguments, FunctionInstance* caller)
{
    FunctionInstance* instance = StartCall(function, arguments, caller);
    if (!instance)
        return false;
    bool ran = RunFunctionBody(*instance);
    return FinishCall(instance, ran, arguments, caller);
}

// Makes the instance (on the heap), puts it on the call stack and binds the arguments; null
// when the call cannot start.
SCRIPT_OUT_OF_LINE FunctionInstance* ScriptEngine::StartCall(ScriptFunction& function, ArgumentList* arguments,
                                                             FunctionInstance* caller)
{
    if (!MayCallDeeper()) {
        ReportCallsTooDeep(function, caller);
        return nullptr;
    }
    auto instance = std::make_unique<FunctionInstance>(*this, Counted<ScriptFunction>(&function), m_nextInstanceSerial++);
    instance->Parameters().CopyFrom(function.Parameters());
    m_listSegIns.push_back(instance.get());
    if (arguments && function.Parameters().Count() > 0 && !BindArguments(*instance, *arguments, caller)) {
        FinishCall(instance.release(), false, nullptr, caller);
        return nullptr;
    }
    return instance.release();
}

// Takes the instance off the call stack, writes back "out" parameters and the result, and
// destroys the instance.
SCRIPT_OUT_OF_LINE bool ScriptEngine::FinishCall(FunctionInstance* running, bool ran, ArgumentList* arguments,
                                                 FunctionInstance* caller)
{
    std::unique_ptr<FunctionInstance> instance(running);
    // The host may have cleared the list meanwhile; then there is nothing to take off.
    auto found = std::find(m_listSegIns.rbegin(), m_listSegIns.rend(), running);
    if (found != m_listSegIns.rend())
        m_listSegIns.erase(std::next(found).base());
    if (!ran)
        return false;
    WriteBackOutParameters(*instance, caller);
    if (arguments)
        arguments->Result().Assign(instance->Parameters().Result());
    return true;
}

// Argument k goes to declared parameter k: the parameter value keeps what was passed, and a
// local of the parameter's name and type receives the value (a referenced variable's value, or
// the argument's text). More arguments than parameters fail the call.
SCRIPT_OUT_OF_LINE bool ScriptEngine::BindArguments(FunctionInstance& instance, ArgumentList& arguments, FunctionInstance* caller)
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
            SetError(ErrorNone, instance.Function().Name(),
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
SCRIPT_OUT_OF_LINE void ScriptEngine::WriteBackOutParameters(FunctionInstance& instance, FunctionInstance* caller)
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

// A script function sets no "out" flags in the caller's list, so it is called last, and this
// frame is gone while its body runs.
bool ScriptEngine::CallByName(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    if (!arguments.Engine())
        arguments.SetEngine(this);
    auto dot = MemberDot(name);
    if (dot == std::string::npos) {
        if (ScriptFunction* function = FindFunction(name))
            return CallScriptFunction(*function, &arguments, caller);
    }
    return CallCommandOrMember(name, dot, arguments, caller);
}

// A built-in command or an object method; arguments flagged "out" by it are stored back.
SCRIPT_OUT_OF_LINE bool ScriptEngine::CallCommandOrMember(const std::string& name, std::string::size_type dot,
                                                          ArgumentList& arguments, FunctionInstance* caller)
{
    bool called = false;
    if (dot != std::string::npos) {
        called = CallMember(name, dot, arguments, caller);
    } else if (BuiltInCommand command = FindBuiltInCommand(name)) {
        called = command(*this, arguments, caller);
        if (!called)
            SetError(ErrorNone, name);
    } else {
        SetError(ErrorNone, name);
    }
    if (m_observer)
        m_observer->AfterHostCall(name, arguments, called);
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
SCRIPT_OUT_OF_LINE bool ScriptEngine::CallMember(const std::string& name, std::string::size_type dot, ArgumentList& arguments,
                              FunctionInstance* caller)
{
    ScriptVariable* holder = FindVariable(std::string_view(name).substr(0, dot), caller);
    // Held for the call: the method may drop the variable that holds the object.
    Counted<ScriptObject> object(holder ? holder->Value().Object() : nullptr);
    if (!object || !object->InvokeMethod(name.substr(dot + 1), arguments, caller)) {
        SetError(ErrorMemberCall, name);
        return false;
    }
    return true;
}
