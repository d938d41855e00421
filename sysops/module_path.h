#pragma once

#include <string>

// The running executable's full path ("C:\App\Uninstall\UnInstall.exe").
[[nodiscard]] std::string GetModulePath();

// The running executable's file name without its extension: the caption of the messages a
// program shows before it has a window of its own.
[[nodiscard]] std::string GetModuleCaption();
