#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ArgumentList;
class FunctionInstance;
class ScriptObject;

// How the built-in objects read their arguments: the argument's text with a variable
// reference resolved, then passed through the engine's VariableText (a variable's value, or a
// quoted text without its quotes).
[[nodiscard]] std::string MethodText(const ScriptObject& object, const ArgumentList& arguments, std::size_t number,
                                     FunctionInstance* caller);
// The same text read as a decimal integer.
[[nodiscard]] std::int32_t MethodNumber(const ScriptObject& object, const ArgumentList& arguments, std::size_t number,
                                        FunctionInstance* caller);
