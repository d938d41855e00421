#pragma once

#include <string>

// The script engines speak UTF-16; the uninstaller's texts are in the ANSI code page.
[[nodiscard]] std::wstring WideFromAnsi(const std::string& text);
// A null text is the empty text.
[[nodiscard]] std::string AnsiFromWide(const wchar_t* text);
