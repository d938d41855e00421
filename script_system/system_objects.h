#pragma once

#include "script/counted.h"
#include "script/script_object.h"

#include <string>

// The system script objects (Windows): the service object and the registry key object that
// the scripted flow registers as the globals "Service" and "RegKey", and the class objects of
// "CRegKey", "CDllModule" and "CWSModule" that a script makes with "var" or "CreateVosObject".
[[nodiscard]] Counted<ScriptObject> MakeServiceObject();
[[nodiscard]] Counted<ScriptObject> MakeRegKeyObject();
// None for a class name that is not a system class.
[[nodiscard]] Counted<ScriptObject> MakeSystemClass(const std::string& className);
