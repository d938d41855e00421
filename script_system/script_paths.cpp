#include "script_system/script_paths.h"

#include "script/script_engine.h"
#include "script/script_object.h"

std::string ScriptRelativePath(const ScriptObject& object, const std::string& path)
{
    const bool hasDrive = path.size() >= 3 && path.compare(1, 2, ":\\") == 0;
    if (hasDrive || !object.Engine() || object.Engine()->ScriptFolder().empty())
        return path;
    return object.Engine()->ScriptFolder() + "\\" + path;
}
