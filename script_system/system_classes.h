#pragma once

#include "script/counted.h"
#include "script/script_object.h"

// One empty object of each system class; each makes its instances with CreateInstance.
[[nodiscard]] Counted<ScriptObject> MakeServiceClass();
[[nodiscard]] Counted<ScriptObject> MakeRegKeyClass();
[[nodiscard]] Counted<ScriptObject> MakeDllModuleClass();
[[nodiscard]] Counted<ScriptObject> MakeWsModuleClass();
