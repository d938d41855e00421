#pragma once

#include <string>

// Script files in the uninstall folder are stored scrambled: every byte XORed with one key
// byte. A byte that decodes to zero is dropped, since the script is text.
inline constexpr unsigned char kScriptScrambleKey = 0x5D;

void AppendUnscrambled(const std::string& bytes, std::string& text);
[[nodiscard]] std::string Scramble(const std::string& text);
