#pragma once

#include "script/counted.h"
#include "script/script_object.h"

// The "System" host object: the function library that uninstall scripts call as
// System.Method(...). The scripted flow and the voscript runner register it.
[[nodiscard]] Counted<ScriptObject> MakeSystemObject();
