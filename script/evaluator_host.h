#pragma once

#include <cstdint>
#include <string>

class ArgumentList;
class ScriptValue;
class ScriptVariable;

// Remembers where a name was found, for as long as no variable list of the engine changed and
// the lookup is made in the same running call; the engine fills it and checks it.
struct VariableLookupCache {
    const void* engine = nullptr;
    std::uint64_t instanceSerial = 0;
    std::uint64_t changeCount = 0;
    ScriptVariable* variable = nullptr;
    bool filled = false;
};

// What an expression needs from the interpreter that runs it: variables by name and calls.
class EvaluatorHost {
public:
    virtual ~EvaluatorHost() = default;

    // Fills value from the variable called name; true if found.
    [[nodiscard]] virtual bool GetVariable(const std::string& name, ScriptValue& value);
    // Calls the function or object method called name; the callee leaves its result in the
    // list's result value.
    [[nodiscard]] virtual bool CallFunction(const std::string& name, ArgumentList& arguments) = 0;
    [[nodiscard]] virtual bool IsVariable(const std::string& name);
    // Told of each word that is neither a local nor a host variable.
    virtual bool NoteWord(const std::string& name);

    // The value of the variable called name, to be read in place while the operator that needs
    // it is applied; null when there is none. GetVariable and IsVariable are built on it.
    [[nodiscard]] virtual const ScriptValue* FindVariableValue(const std::string& name, VariableLookupCache* cache) = 0;
    // Gives an argument list made by the evaluator the scope in which its items are resolved.
    virtual void PrepareArguments(ArgumentList& arguments);
};
