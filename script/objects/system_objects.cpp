#include "script/objects/system_objects.h"

// FIXME: the system objects are not written yet; each is a plain object of its class name.
Counted<ScriptObject> MakeServiceObject() { return MakeCounted<ScriptObject>("Service"); }

Counted<ScriptObject> MakeRegKeyObject() { return MakeCounted<ScriptObject>("CRegKey"); }

Counted<ScriptObject> MakeSystemClass(const std::string&) { return {}; }
