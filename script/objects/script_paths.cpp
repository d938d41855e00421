#include "script/objects/script_paths.h"

#include "script/script_engine.h"
#include "script/script_object.h"

std::string ScriptRelativePath(const ScriptObject& object, const std::string& path)
{
    if (path.compare(1, 2, ":\\") == 0 || !object.Engine() || object.Engine()->ScriptFolder().empty())
        return path;
    return object.Engine()->ScriptFolder() + "\\" + path;
}
