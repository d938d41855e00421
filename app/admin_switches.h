#pragma once

#include <string>

// The switches an administrator gives the uninstaller on its command line. Each is written
// with '/' or '-' in any case; a switch the uninstaller does not know changes nothing.
struct AdminSwitches {
    bool preview = false; // /PREVIEW: report what the uninstall would do, remove nothing
    bool silent = false;  // /S: no confirmation, no pages, an exit code
    bool help = false;    // /?: a box that lists the switches
    std::string logPath;  // /LOG=FILE: every step, with its time, into the file
};

[[nodiscard]] AdminSwitches ParseAdminSwitches(int argumentCount, const char* const* arguments);

// The text of the /? box.
[[nodiscard]] const char* AdminSwitchesHelp();
