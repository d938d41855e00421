// Plain statements: declarations, assignments, calls and "Goto". Each is classified by its
// first word; whether that word names a variable is decided when the statement runs.
#include "script/compiler.h"
#include "script/expression_evaluator.h"
#include "script/function_instance.h"
#include "script/line_form.h"
#include "script/script_engine.h"
#include "script/script_text.h"
#include "script/statement_runner.h"

namespace {

//   declaration -> "var" type-name name [assignment] { "," name [assignment] }
SCRIPT_OUT_OF_LINE void ExecuteDeclaration(FunctionInstance& instance, const PlainForm& form)
{
    ScriptEngine& engine = instance.Engine();
    if (form.typeName.empty() || form.declarations.empty())
        return engine.SetError(ErrorVarWithoutName);
    for (const auto& item : form.declarations) {
        auto variable = engine.CreateDeclaredVariable(form.typeName, item.name);
        if (!variable)
            return engine.SetError(ErrorNone);
        // A declaration that runs again, in a loop, finds its local made; another of the same
        // name would only be hidden behind the first, so the list does not grow with each pass.
        if (!instance.Locals().Find(item.name))
            instance.Locals().Append(std::move(variable));
        if (item.initialiser && !ExecuteAssignment(instance, item.name, *item.initialiser))
            return engine.SetError(ErrorPlainStatement, {}, LineOfRunningStatement, ErrorCodeRule::FillMissing);
    }
}

//   set -> "Set" name assignment
SCRIPT_OUT_OF_LINE void ExecuteSet(FunctionInstance& instance, const PlainForm& form)
{
    ScriptEngine& engine = instance.Engine();
    if (!engine.FindVariable(form.setName, &instance))
        engine.SetError(ErrorPlainStatement);
    if (!ExecuteAssignment(instance, form.setName, *form.setAssignment))
        engine.SetError(ErrorPlainStatement);
}

SCRIPT_OUT_OF_LINE void ReportNotAVariable(FunctionInstance& instance, const PlainForm& form)
{
    instance.Engine().SetError(ErrorNotAVariable, form.firstWord);
}

// The argument text is evaluated: a list value is parsed as a list (so a variable passed by
// name arrives as a reference), any other operands are taken in their order.
SCRIPT_OUT_OF_LINE bool EvaluateCallArguments(FunctionInstance& instance, const CachedExpression& argumentText,
                                              ArgumentList& arguments)
{
    ScriptEngine& engine = instance.Engine();
    EvaluatorLease evaluator(engine, &instance);
    if (!evaluator->Run(argumentText.Compiled())) {
        engine.SetError(ErrorNone, evaluator->ErrorWord());
        return false;
    }
    std::size_t count = evaluator->OperandCount();
    ScriptValue top = count > 0 ? evaluator->OperandValue(count - 1) : ScriptValue();
    if (top.Type() == TypeList) {
        (void)arguments.ParseArguments(top.Text());
        return true;
    }
    for (std::size_t index = 0; index < count; ++index)
        arguments.AppendValue(evaluator->OperandValue(index));
    return true;
}

}

void ExecutePlain(FunctionInstance& instance, const PlainForm& form)
{
    ScriptEngine& engine = instance.Engine();
    switch (form.shape) {
    case PlainShape::MemberCall:
        if (!ExecuteCallStatement(instance, form.firstWord, form.callArguments))
            engine.SetError(ErrorNone);
        return;
    case PlainShape::Declaration:
        return ExecuteDeclaration(instance, form);
    case PlainShape::Other:
        break;
    }
    if (engine.FindVariable(form.firstWord, &instance, form.firstWordLookup)) {
        if (!ExecuteAssignment(instance, form.firstWord, form.assignment, &form.firstWordLookup))
            engine.SetError(ErrorPlainStatement, {}, LineOfRunningStatement, ErrorCodeRule::Replace);
        return;
    }
    if (SameName(form.firstWord, "Set"))
        return ExecuteSet(instance, form);
    if (SameName(form.firstWord, "Goto"))
        return instance.Goto(form.rest);
    if (!form.rest.empty() && form.rest.front() == '=')
        return ReportNotAVariable(instance, form);
    if (!ExecuteCallStatement(instance, form.firstWord, form.callArguments))
        engine.SetError(ErrorNone);
}

void ExecutePlain(std::string_view line, FunctionInstance& instance)
{
    PlainForm form(line);
    ExecutePlain(instance, form);
}

bool ExecuteCallStatement(FunctionInstance& instance, const std::string& name, const CachedExpression& argumentText)
{
    ScriptEngine& engine = instance.Engine();
    // On the heap: a call statement is on the path of every nested script call.
    auto arguments = std::make_unique<ArgumentList>(&engine, &instance);
    if (!argumentText.Text().empty() && !EvaluateCallArguments(instance, argumentText, *arguments))
        return false;
    return engine.CallByName(name, *arguments, &instance);
}
