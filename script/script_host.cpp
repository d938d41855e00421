#include "script/script_host.h"

#include <fstream>
#include <iterator>

bool ScriptHost::ReadFile(const std::string& path, std::string& contents)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

Counted<ScriptObject> ScriptHost::CreateSystemClass(const std::string&) { return {}; }

int SilentScriptHost::ShowMessageBox(const std::string&, const std::string&, int) { return 1; }

bool SilentScriptHost::CallVBSFunction(const std::string&, const std::string&, const std::vector<VbsArgument>&,
                                       std::string& result, std::vector<std::string>&)
{
    result.clear();
    return false;
}
