#pragma once

#include "script/counted.h"
#include "script/script_object.h"

#include <string>

// The runner never changes the machine unless asked. Its "System", "Service" and "RegKey"
// objects and its "CRegKey" and "CDllModule" classes are wrapped: a method that would change
// something is printed with its arguments and answered as if it had worked, and every other
// method is handed to the real object. A "System" method that the wrapped object lacks but
// the Windows function library has is told apart from a misspelled name.
// globalName: the name the script calls the object by, or empty for a class.
[[nodiscard]] Counted<ScriptObject> MakeDryRunObject(Counted<ScriptObject> real, const std::string& globalName,
                                                     std::string& output);
