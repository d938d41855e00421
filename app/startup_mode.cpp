#include "app/startup_mode.h"

#include "base/text_compare.h"

StartupMode ModeForExeName(const std::string& exeName)
{
    if (EqualsNoCase(exeName, kUninstallerName))
        return StartupMode::Uninstall;
    if (EqualsNoCase(exeName, kCleanupCopyName))
        return StartupMode::Cleanup;
    return StartupMode::Nothing;
}

std::string FirstPlainParameter(int argumentCount, const char* const* arguments)
{
    for (int i = 1; i < argumentCount; ++i) {
        const char* argument = arguments[i];
        if (argument && argument[0] != '/' && argument[0] != '-')
            return argument;
    }
    return {};
}
