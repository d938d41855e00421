// Variables by name: the locals of the running call, then the globals; "object.member" asks
// the object for its member.
#include "script/expression_evaluator.h"
#include "script/function_instance.h"
#include "script/script_engine.h"
#include "script/script_text.h"

namespace {

bool IsQuoted(std::string_view text)
{
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// A "." after the first character makes the name a member reference.
std::string_view::size_type MemberDot(std::string_view name)
{
    return name.size() > 1 ? name.find('.', 1) : std::string_view::npos;
}

}

ScriptVariable* ScriptEngine::FindVariable(std::string_view name, FunctionInstance* instance)
{
    auto dot = MemberDot(name);
    if (dot != std::string_view::npos)
        return FindMemberVariable(name, dot, instance);
    if (instance) {
        if (ScriptVariable* local = instance->Locals().Find(name))
            return local;
    }
    return m_listUserVar.Find(name);
}

// "object.member": an "@" or "@@" before the object name moves to the front of the member
// name, and the object found is asked for that member.
ScriptVariable* ScriptEngine::FindMemberVariable(std::string_view name, std::string_view::size_type dot,
                                                 FunctionInstance* instance)
{
    std::string_view objectName = name.substr(0, dot);
    std::string member(name.substr(dot + 1));
    std::string_view::size_type prefix = 0;
    if (objectName.substr(0, 2) == "@@")
        prefix = 2;
    else if (objectName.substr(0, 1) == "@")
        prefix = 1;
    member.insert(0, objectName.substr(0, prefix));
    objectName.remove_prefix(prefix);
    ScriptVariable* holder = FindVariable(objectName, instance);
    ScriptObject* object = holder ? holder->Value().Object() : nullptr;
    return object ? object->FindMember(member) : nullptr;
}

// Members are looked up afresh each time, since objects change their members on their own;
// plain names are remembered until a variable list changes.
ScriptVariable* ScriptEngine::FindVariable(std::string_view name, FunctionInstance* instance,
                                           VariableLookupCache& cache)
{
    std::uint64_t serial = instance ? instance->Serial() : 0;
    if (cache.filled && cache.changeCount == m_variableChanges && cache.instanceSerial == serial && cache.engine == this)
        return cache.variable; // only plain names are ever remembered
    if (MemberDot(name) != std::string_view::npos)
        return FindVariable(name, instance);
    ScriptVariable* variable = FindVariable(name, instance);
    cache.engine = this;
    cache.instanceSerial = serial;
    cache.changeCount = m_variableChanges;
    cache.variable = variable;
    cache.filled = true;
    return variable;
}

std::string ScriptEngine::VariableValueText(std::string_view name, FunctionInstance* instance, bool& found)
{
    ScriptVariable* variable = FindVariable(name, instance);
    found = variable != nullptr;
    return variable ? variable->Value().ToString() : std::string();
}

std::string ScriptEngine::VariableText(std::string_view name, FunctionInstance* instance)
{
    if (name.empty())
        return {};
    if (ScriptVariable* variable = FindVariable(name, instance))
        return variable->Value().ToString();
    if (IsQuoted(name))
        return std::string(name.substr(1, name.size() - 2));
    return std::string(name);
}

std::string ScriptEngine::ValueText(const ScriptValue& value, FunctionInstance* instance)
{
    if (value.Type() != TypeVariableReference)
        return value.ToString();
    bool found = false;
    return VariableValueText(value.Text(), instance, found);
}

void ScriptEngine::SetVariable(std::string_view name, const ScriptValue& value, FunctionInstance* instance,
                               VariableLookupCache* cache)
{
    ScriptVariable* variable = cache ? FindVariable(name, instance, *cache) : FindVariable(name, instance);
    if (!variable) {
        auto global = MakeCounted<ScriptVariable>(std::string(name));
        global->Value().AssignKeepType(value);
        m_listUserVar.Append(std::move(global));
        return;
    }
    if (!variable->IsReadOnly())
        variable->Value().AssignKeepType(value);
}

bool ScriptEngine::EvaluateCondition(std::string_view text, FunctionInstance* instance)
{
    EvaluatorLease evaluator(*this, instance);
    bool truth = evaluator->EvaluateCondition(text);
    if (evaluator->HasError())
        SetError(ErrorNone, evaluator->ErrorWord());
    return truth;
}

bool ScriptEngine::EvaluateCondition(const CachedExpression& expression, FunctionInstance* instance)
{
    if (expression.Text().empty())
        return false;
    EvaluatorLease evaluator(*this, instance);
    bool truth = evaluator->Run(expression.Compiled()) && evaluator->OperandCount() > 0 && evaluator->TopTruth();
    if (evaluator->HasError())
        SetError(ErrorNone, evaluator->ErrorWord());
    return truth;
}

bool ScriptEngine::Evaluate(const CachedExpression& expression, FunctionInstance* instance, ScriptValue& value,
                            std::string& errorWord)
{
    EvaluatorLease evaluator(*this, instance);
    const ScriptValue* top = evaluator->Run(expression.Compiled()) ? evaluator->ResolvedTop() : nullptr;
    if (!top) {
        errorWord = evaluator->ErrorWord();
        return false;
    }
    value.Assign(*top);
    return true;
}

bool EngineEvaluatorHost::CallFunction(const std::string& name, ArgumentList& arguments)
{
    return m_engine.CallByName(name, arguments, m_instance);
}

const ScriptValue* EngineEvaluatorHost::FindVariableValue(const std::string& name, VariableLookupCache* cache)
{
    ScriptVariable* variable = cache ? m_engine.FindVariable(name, m_instance, *cache)
                                     : m_engine.FindVariable(name, m_instance);
    return variable ? &variable->Value() : nullptr;
}

void EngineEvaluatorHost::PrepareArguments(ArgumentList& arguments)
{
    arguments.SetEngine(&m_engine);
    arguments.SetCaller(m_instance);
}
