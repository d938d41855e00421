// The assignment forms after a variable name: "=" with a value, "++", "--", the compound
// forms, "Nothing", "new" and "CreateVosObject".
#include "script/compiler.h"
#include "script/function_instance.h"
#include "script/line_form.h"
#include "script/script_engine.h"
#include "script/script_text.h"
#include "script/statement_runner.h"

namespace {

SCRIPT_OUT_OF_LINE bool Evaluate(FunctionInstance& instance, const AssignmentForm& form, ScriptValue& value)
{
    std::string errorWord;
    if (instance.Engine().Evaluate(form.expression, &instance, value, errorWord))
        return true;
    instance.Engine().SetError(ErrorNone, errorWord);
    return false;
}

// "++", "--" and the compound forms change a copy of the variable's value, which is then
// stored back by name, so that a read-only variable stays as it is.
SCRIPT_OUT_OF_LINE bool ExecuteArithmetic(FunctionInstance& instance, const std::string& name, const AssignmentForm& form,
                       VariableLookupCache* cache)
{
    ScriptEngine& engine = instance.Engine();
    if (!(cache ? engine.FindVariable(name, &instance, *cache) : engine.FindVariable(name, &instance)))
        return false;
    ScriptValue operand;
    if (form.kind != AssignmentKind::Increment && form.kind != AssignmentKind::Decrement && !Evaluate(instance, form, operand))
        return false;
    // The right side may have called a function that released the object whose member this
    // is, so the target is looked up again after it.
    ScriptVariable* variable = cache ? engine.FindVariable(name, &instance, *cache) : engine.FindVariable(name, &instance);
    if (!variable)
        return false;
    ScriptValue value = ScriptValue::CopyOf(variable->Value());
    switch (form.kind) {
    case AssignmentKind::Increment: value.AddInt(1); break;
    case AssignmentKind::Decrement: value.AddInt(-1); break;
    case AssignmentKind::AddExpression:
        if (!value.Add(operand))
            return false;
        break;
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

SCRIPT_OUT_OF_LINE bool AssignNothing(FunctionInstance& instance, const std::string& name)
{
    ScriptVariable* variable = instance.Engine().FindVariable(name, &instance);
    if (!variable || variable->Value().Type() != TypeObject) {
        instance.Engine().SetError(ErrorNotAnObject, name);
        return false;
    }
    if (!variable->IsReadOnly())
        variable->Value().ReleaseObject();
    return true;
}

// A new instance of the class becomes the variable's object; the variable keeps its type. A
// missing class or variable fails the statement and changes nothing.
SCRIPT_OUT_OF_LINE bool AssignNew(FunctionInstance& instance, const std::string& name, const AssignmentForm& form)
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

SCRIPT_OUT_OF_LINE bool AssignCreatedObject(FunctionInstance& instance, const std::string& name, const AssignmentForm& form)
{
    ScriptEngine& engine = instance.Engine();
    ArgumentList arguments(&engine, &instance);
    (void)arguments.ParseArguments(form.expression.Text());
    std::string objectName = arguments.ArgText(1, true);
    Counted<ScriptObject> object = engine.CreateObject(objectName);
    if (!object) {
        engine.SetError(ErrorNotAnObject, objectName);
        return false;
    }
    ScriptVariable* variable = engine.FindVariable(name, &instance);
    if (!variable) {
        engine.SetError(ErrorNotAVariable, name);
        return false;
    }
    if (variable->Value().Type() != TypeObject) {
        engine.SetError(ErrorDeclaredType, name);
        return false;
    }
    object->SetEngine(&engine);
    if (!variable->IsReadOnly())
        variable->Value().SetObject(std::move(object));
    return true;
}

// The forms other than "=" and an expression.
SCRIPT_OUT_OF_LINE bool ExecuteOtherAssignment(FunctionInstance& instance, const std::string& name,
                                               const AssignmentForm& form, VariableLookupCache* cache)
{
    switch (form.kind) {
    case AssignmentKind::Invalid:
    case AssignmentKind::Expression:
        return false;
    case AssignmentKind::Nothing:
        return AssignNothing(instance, name);
    case AssignmentKind::New:
        return AssignNew(instance, name, form);
    case AssignmentKind::CreateVosObject:
        return AssignCreatedObject(instance, name, form);
    default:
        return ExecuteArithmetic(instance, name, form, cache);
    }
}

// Stores the value the evaluator left, or copies its error.
SCRIPT_OUT_OF_LINE bool StoreEvaluatedValue(FunctionInstance& instance, const std::string& name,
                                            ExpressionEvaluator& evaluator, bool ran, VariableLookupCache* cache)
{
    const ScriptValue* value = ran ? evaluator.ResolvedTop() : nullptr;
    if (!value) {
        instance.Engine().SetError(ErrorNone, evaluator.ErrorWord());
        return false;
    }
    instance.Engine().SetVariable(name, *value, &instance, cache);
    return true;
}

}

// "=" and an expression: the value is stored by name, so a declared variable keeps its type
// and a read-only one stays as it is. This is the common assignment and on the path of nested
// calls, so it reads the value where the evaluator left it.
bool ExecuteAssignment(FunctionInstance& instance, const std::string& name, const AssignmentForm& form,
                       VariableLookupCache* cache)
{
    if (form.kind != AssignmentKind::Expression)
        return ExecuteOtherAssignment(instance, name, form, cache);
    EvaluatorLease evaluator(instance.Engine(), &instance);
    bool ran = evaluator->Run(form.expression.Compiled());
    return StoreEvaluatedValue(instance, name, *evaluator, ran, cache);
}

bool ExecuteAssignment(const std::string& name, std::string_view text, FunctionInstance& instance)
{
    AssignmentForm form(text);
    return ExecuteAssignment(instance, name, form);
}
