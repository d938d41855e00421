#pragma once

#include "app/voscript/voscript_runner.h"

#include <string>

// Reads GetCurAppID, the application's name and the uninstall folder from an install record
// into the setup; the uninstaller-to-be defaults to UnInstall.exe in that uninstall folder, and
// the profile starts from its ProFile.ini when that can be read. False when the record cannot
// be read.
[[nodiscard]] bool ReadRecordInto(const std::string& recordPath, RunnerSetup& setup);

// What the uninstaller finds in an uninstall folder, read as it reads it: the record
// (recordPath, or the folder's Setup.Kvx when empty), the VoScript script of hw.dll or else
// zn.dll and the VBScript code of jt.dll, both unscrambled or not read at all as the record's
// sfentype says, and the ProFile.ini that the profile functions read. script stays empty when
// the uninstaller would run its default flow instead; reason then says why. False when the
// record cannot be read.
[[nodiscard]] bool ReadUninstallFolder(const std::string& folder, const std::string& recordPath, RunnerSetup& setup,
                                       std::string& script, std::string& reason);
