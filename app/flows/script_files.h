#pragma once

#include <string>

class InstallRecord;

// The scripted flow's loader of the script files in the record's uninstall folder, each stored
// scrambled when the record's encoding (sfentype) says so; with any other encoding nothing is
// read and the text is empty.

// The VoScript uninstall script: hw.dll, or zn.dll when there is no hw.dll. Empty when neither
// can be read.
[[nodiscard]] std::string ReadUninstallScript(const InstallRecord& record);

// The VBScript code that the script's CallVBSFunction calls run: jt.dll.
[[nodiscard]] std::string ReadWindowsScript(const InstallRecord& record);

// Appends the unscrambled text of a script file when the record says the files are
// scrambled; otherwise, or when the file cannot be opened, leaves the text as it is.
void ReadScrambledFile(const InstallRecord& record, const std::string& path, std::string& text);
