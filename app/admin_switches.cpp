#include "app/admin_switches.h"

#include "base/text_compare.h"

namespace {

constexpr const char* kLogPrefix = "LOG=";

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

}

AdminSwitches ParseAdminSwitches(int argumentCount, const char* const* arguments)
{
    AdminSwitches switches;
    for (int i = 1; i < argumentCount; ++i) {
        const char* argument = arguments[i];
        if (!argument || (argument[0] != '/' && argument[0] != '-'))
            continue;
        const std::string name = argument + 1;
        if (EqualsNoCase(name, "PREVIEW"))
            switches.preview = true;
        else if (EqualsNoCase(name, "S"))
            switches.silent = true;
        else if (name == "?")
            switches.help = true;
        else if (StartsWithNoCase(name, kLogPrefix))
            switches.logPath = name.substr(std::string(kLogPrefix).size());
    }
    return switches;
}

const char* AdminSwitchesHelp()
{
    return "UnInstall.exe [/PREVIEW] [/S] [/LOG=file] [/?]\n"
           "\n"
           "/PREVIEW\tLists what the uninstall would remove and keep, and why; removes nothing.\n"
           "/S\t\tUninstalls without questions or pages and never restarts Windows.\n"
           "/LOG=file\tWrites every step, with its time, into the file.\n"
           "/?\t\tShows this help.\n"
           "\n"
           "Without /LOG, a preview goes to the command prompt that started the uninstaller, else to "
           "UnInstall.log beside the install record.\n"
           "\n"
           "Exit codes of /PREVIEW and /S: 0 done, 3010 a restart is needed, 1602 the uninstall script "
           "cancelled, 1603 something could not be removed or a fatal error such as a missing install record, "
           "1618 another uninstall of this application is running.\n"
           "\n"
           "Switches may start with / or - and ignore case.";
}
