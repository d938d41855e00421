#include "library/system_object.h"

// FIXME: the function library's methods are not written yet; the object knows none of them.
Counted<ScriptObject> MakeSystemObject() { return MakeCounted<ScriptObject>(); }
