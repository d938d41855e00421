#include "sysops/module_path.h"

#include "base/path_text.h"

#include <windows.h>

std::string GetModulePath()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string GetModuleCaption() { return WithoutExtension(GetFileNamePart(GetModulePath())); }
