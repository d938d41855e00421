// The assignment forms after a variable name: "=" with a value, "++", "--", the compound
// forms, "Nothing", "new" and "CreateVosObject".
#include "script/function_instance.h"
#include "script/line_form.h"
#include "script/script_engine.h"
#include "script/script_text.h"
#include "script/statement_runner.h"

namespace {

bool Evaluate(FunctionInstance& instance, const AssignmentForm& form, ScriptValue& value)
{
    std::string errorWord;
    if (instance.Engine().Evaluate(form.expression, &instance, value, errorWord))
        return true;
    instance.Engine().SetErrorFlag(errorWord);
    return false;
}

// "++", "--" and the compound forms change a copy of the variable's value, which is then
// stored back by name, so that a read-only variable stays as it is.
bool ExecuteArithmetic(FunctionInstance& instance, const std::string& name, const AssignmentForm& form,
                       VariableLookupCache* cache)
{
    ScriptEngine& engine = instance.Engine();
    ScriptVariable* variable = cache ? engine.FindVariable(name, &instance, *cache) : engine.FindVariable(name, &instance);
    if (!variable)
        return false;
    ScriptValue operand;
    if (form.kind != AssignmentKind::Increment && form.kind != AssignmentKind::Decrement && !Evaluate(instance, form, operand))
        return false;
    ScriptValue value = ScriptValue::CopyOf(variable->Value());
    switch (form.kind) {
    case AssignmentKind::Increment: value.AddInt(1); break;
    case AssignmentKind::Decrement: value.AddInt(-1); break;
    case AssignmentKind::AddExpression: value.Add(operand); break;
    case AssignmentKind::SubtractExpression:
        value.AddInt(static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(TruncateToInt32(operand.ToNumber()))));
        break;
    case AssignmentKind::MultiplyExpression: value.MultiplyBy(operand.ToNumber()); break;
    case AssignmentKind::ModuloExpression: value.ModuloBy(TruncateToInt32(operand.ToNumber())); break;
    case AssignmentKind::DivideExpression: value.DivideBy(operand.ToNumber()); break;
    default: return false;
    }
    engine.SetVariable(name, value, &instance, cache);
    return true;
}

bool AssignNothing(FunctionInstance& instance, const std::string& name)
{
    ScriptVariable* variable = instance.Engine().FindVariable(name, &instance);
    if (!variable || variable->Value().Type() != TypeObject) {
        instance.Engine().SetError(ErrorNotAnObject, name, -1);
        return false;
    }
    if (!variable->IsReadOnly())
        variable->Value().ReleaseObject();
    return true;
}

// A new instance of the class becomes the variable's object; the variable keeps its type. A
// missing class or variable fails the statement and changes nothing.
bool AssignNew(FunctionInstance& instance, const std::string& name, const AssignmentForm& form)
{
    ScriptEngine& engine = instance.Engine();
    ScriptObject* classObject = engine.FindClass(form.className);
    ScriptVariable* variable = engine.FindVariable(name, &instance);
    if (!classObject || !variable)
        return false;
    if (variable->IsReadOnly())
        return true;
    Counted<ScriptObject> object = classObject->CreateInstance({});
    if (!object)
        return false;
    object->SetEngine(&engine);
    variable->Value().SetObject(std::move(object));
    return true;
}

bool AssignCreatedObject(FunctionInstance& instance, const std::string& name, const AssignmentForm& form)
{
    ScriptEngine& engine = instance.Engine();
    ArgumentList arguments(&engine, &instance);
    (void)arguments.ParseArguments(form.expression.Text());
    std::string objectName = arguments.ArgText(1, true);
    Counted<ScriptObject> object = engine.CreateObject(objectName);
    if (!object) {
        engine.SetError(ErrorNotAnObject, objectName, -1);
        return false;
    }
    ScriptVariable* variable = engine.FindVariable(name, &instance);
    if (!variable) {
        engine.SetError(ErrorNotAVariable, name, -1);
        return false;
    }
    if (variable->Value().Type() != TypeObject) {
        engine.SetError(ErrorDeclaredType, name, -1);
        return false;
    }
    object->SetEngine(&engine);
    if (!variable->IsReadOnly())
        variable->Value().SetObject(std::move(object));
    return true;
}

}

bool ExecuteAssignment(FunctionInstance& instance, const std::string& name, const AssignmentForm& form,
                       VariableLookupCache* cache)
{
    switch (form.kind) {
    case AssignmentKind::Invalid:
        return false;
    case AssignmentKind::Nothing:
        return AssignNothing(instance, name);
    case AssignmentKind::New:
        return AssignNew(instance, name, form);
    case AssignmentKind::CreateVosObject:
        return AssignCreatedObject(instance, name, form);
    case AssignmentKind::Expression: {
        ScriptValue value;
        if (!Evaluate(instance, form, value))
            return false;
        instance.Engine().SetVariable(name, value, &instance, cache);
        return true;
    }
    default:
        return ExecuteArithmetic(instance, name, form, cache);
    }
}

bool ExecuteAssignment(const std::string& name, std::string_view text, FunctionInstance& instance)
{
    AssignmentForm form(text);
    return ExecuteAssignment(instance, name, form);
}
