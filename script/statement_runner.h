#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CachedExpression;
class FunctionInstance;
class ScriptFunction;
struct AssignmentForm;
struct BlockRecord;
struct LineForm;
struct PlainForm;
struct VariableLookupCache;
enum class BlockKind : std::uint8_t;

// Runs a call's body line by line from its line pointer: true when the body ran out or a
// "return" ran, false when the engine's error flag was set (the error then names the line).
[[nodiscard]] bool RunFunctionBody(FunctionInstance& instance);

// Executes the body line at the index; returned tells that a "return" ran.
void ExecuteLine(FunctionInstance& instance, std::int32_t index, bool& returned);

// What a line's text says, worked out the first time the line runs.
[[nodiscard]] const LineForm& FormOfLine(const ScriptFunction& function, std::int32_t index);

// The control statements; each reports failure through the engine's error state and tells
// whether a "return" ran.
using ControlHandler = bool (*)(FunctionInstance& instance, std::int32_t index, const LineForm& form);
[[nodiscard]] ControlHandler ControlHandlerOf(const LineForm& form);

// A plain statement: declaration, assignment, call or "Goto".
void ExecutePlain(FunctionInstance& instance, const PlainForm& form);
void ExecutePlain(std::string_view line, FunctionInstance& instance);
[[nodiscard]] bool ExecuteAssignment(FunctionInstance& instance, const std::string& name, const AssignmentForm& form,
                                     VariableLookupCache* cache = nullptr);
[[nodiscard]] bool ExecuteAssignment(const std::string& name, std::string_view text, FunctionInstance& instance);
[[nodiscard]] bool ExecuteCallStatement(FunctionInstance& instance, const std::string& name,
                                        const CachedExpression& argumentText);

// The line index of the "}" that closes the body starting at the index, the index itself for
// a body of one line without braces, -1 when the braces are never closed.
[[nodiscard]] std::int32_t FindBlockEnd(const ScriptFunction& function, std::int32_t index);

// The block that the control line at the index opens, built the first time; null when the
// lines do not form one.
[[nodiscard]] const BlockRecord* BuildBlock(const ScriptFunction& function, std::int32_t index, BlockKind kind);
