#pragma once

#include "script/objects/method_table.h"

// The methods of the system script objects, "Service", "CRegKey", "CDllModule" and
// "CWSModule". The objects themselves need Windows; their names are portable, so that the
// runner can list them and check a script's calls anywhere. Each object dispatches from its
// table here.
[[nodiscard]] MethodNames ServiceMethodNames();
[[nodiscard]] MethodNames RegKeyMethodNames();
[[nodiscard]] MethodNames DllModuleMethodNames();
[[nodiscard]] MethodNames WsModuleMethodNames();
