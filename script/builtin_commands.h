#pragma once

#include <string_view>

class ArgumentList;
class FunctionInstance;
class ScriptEngine;

// A command every script can call by name: "DataCpy", "MessageBox", "DataCmpGoto",
// "CallVBSFunction". False when the command failed.
using BuiltInCommand = bool (*)(ScriptEngine& engine, ArgumentList& arguments, FunctionInstance* caller);

[[nodiscard]] BuiltInCommand FindBuiltInCommand(std::string_view name);
