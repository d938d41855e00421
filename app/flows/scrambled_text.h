#pragma once

#include <string>

// Script files in the uninstall folder are stored scrambled: every byte XORed with one key
// byte. A byte that decodes to zero is dropped, since the script is text.
inline constexpr unsigned char kScriptScrambleKey = 0x5D;

void AppendUnscrambled(const std::string& bytes, std::string& text);
[[nodiscard]] std::string Scramble(const std::string& text);

// The uninstall folder's script files: the VoScript uninstall script (hw.dll, or zn.dll when
// there is no hw.dll) and the VBScript code of its CallVBSFunction calls (jt.dll).
inline constexpr const char* kUninstallScriptFile = "hw.dll";
inline constexpr const char* kSpareUninstallScriptFile = "zn.dll";
inline constexpr const char* kWindowsScriptFile = "jt.dll";

// Appends the unscrambled text of a script file when the record's encoding (sfentype) says the
// files are scrambled; with any other encoding nothing is read. False when the file was to be
// read and could not be opened.
bool AppendScriptFile(const std::string& path, int encoding, std::string& text);
