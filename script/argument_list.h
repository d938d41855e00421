#pragma once

#include "script/counted.h"
#include "script/script_value.h"
#include "script/script_variable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FunctionInstance;
class ScriptEngine;

// The arguments of one call and the value the callee leaves as its result. Argument numbers
// start at 1. Variable references among the arguments are resolved in the caller's scope by
// the engine, when the list has one.
class ArgumentList {
public:
    ArgumentList() = default;
    ArgumentList(ScriptEngine* engine, FunctionInstance* caller) : m_caller(caller), m_engine(engine) {}
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;

    [[nodiscard]] ScriptEngine* Engine() const { return m_engine; }
    void SetEngine(ScriptEngine* engine) { m_engine = engine; }
    [[nodiscard]] FunctionInstance* Caller() const { return m_caller; }
    void SetCaller(FunctionInstance* caller) { m_caller = caller; }

    // Fills the list from an argument text: a list text ("3|7<,>2|abc"), or items that are
    // quoted strings, names of variables or plain text, optionally in parentheses.
    bool ParseArguments(std::string_view text);

    [[nodiscard]] std::size_t Count() const { return m_arguments.size(); }
    [[nodiscard]] ScriptVariable* Variable(std::size_t number) const;
    [[nodiscard]] ScriptValue* Arg(std::size_t number) const;
    // "" when there is no such argument; a variable reference's variable text when resolving.
    [[nodiscard]] std::string ArgText(std::size_t number, bool resolve) const;
    // Compares two argument texts (references resolved) without regard to case; 0 is equal.
    [[nodiscard]] int CompareArgs(std::size_t first, std::size_t second) const;

    // Writes a text back into the variable that an argument names (out flag set).
    void SetArg(std::size_t number, std::string_view text);
    void SetArgInt(std::size_t number, std::int32_t value);

    [[nodiscard]] ScriptValue& Result() { return m_result; }
    [[nodiscard]] const ScriptValue& Result() const { return m_result; }
    void SetResult(std::string_view text, TypeCode type) { m_result.SetTyped(text, type); }
    void SetResultInt(std::int32_t number, TypeCode type = TypeInt) { m_result.SetInt(number, type); }

    // Puts a new unnamed variable holding a copy of the value in front of the list.
    void AddValue(const ScriptValue& value);
    // Appends a new unnamed variable holding a copy of the value.
    void AppendValue(const ScriptValue& value);
    void AppendVariable(Counted<ScriptVariable> variable);
    void CopyFrom(const ArgumentList& other);
    void Clear();

private:
    void ParseItem(std::string_view item);

    FunctionInstance* m_caller = nullptr;
    ScriptEngine* m_engine = nullptr;
    std::vector<Counted<ScriptVariable>> m_arguments;
    ScriptValue m_result;
};

// The text form of a list of values: "%d|%s" items (type code and text) joined by "<,>".
inline constexpr std::string_view ListSeparator = "<,>";
[[nodiscard]] std::string ListItemText(const ScriptValue& value);
