#include "script_system/system_objects.h"

#include "script/script_text.h"
#include "script_system/system_classes.h"

namespace {

// The system classes a script can make itself, by the names the engine registers them under.
struct SystemClassRow {
    const char* name;
    Counted<ScriptObject> (*make)();
};

const SystemClassRow kSystemClasses[] = {
    {"CRegKey", MakeRegKeyClass},
    {"CDllModule", MakeDllModuleClass},
    {"CWSModule", MakeWsModuleClass},
};

}

Counted<ScriptObject> MakeServiceObject() { return MakeServiceClass(); }

Counted<ScriptObject> MakeRegKeyObject() { return MakeRegKeyClass(); }

Counted<ScriptObject> MakeSystemClass(const std::string& className)
{
    for (const SystemClassRow& row : kSystemClasses) {
        if (SameName(row.name, className))
            return row.make();
    }
    return {};
}
