#include "script/evaluator_host.h"

#include "script/script_value.h"

bool EvaluatorHost::GetVariable(const std::string& name, ScriptValue& value)
{
    const ScriptValue* found = FindVariableValue(name, nullptr);
    if (!found)
        return false;
    value.Assign(*found);
    return true;
}

bool EvaluatorHost::IsVariable(const std::string& name) { return FindVariableValue(name, nullptr) != nullptr; }

bool EvaluatorHost::NoteWord(const std::string&) { return false; }

void EvaluatorHost::PrepareArguments(ArgumentList&) {}
