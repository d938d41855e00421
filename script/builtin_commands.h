#pragma once

#include "script/objects/method_table.h"

#include <string_view>
#include <vector>

class ArgumentList;
class FunctionInstance;
class ScriptEngine;

// A command every script can call by name: "DataCpy", "MessageBox", "DataCmpGoto",
// "CallVBSFunction". False when the command failed.
using BuiltInCommand = bool (*)(ScriptEngine& engine, ArgumentList& arguments, FunctionInstance* caller);

[[nodiscard]] BuiltInCommand FindBuiltInCommand(std::string_view name);

// The commands with their arguments; their names are found in any case.
[[nodiscard]] std::vector<MethodName> BuiltInCommandNames();
