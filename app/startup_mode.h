#pragma once

#include "app/run/cleanup_request.h"

#include <string>

// The one executable plays two roles, chosen by the name it runs under: installed beside the
// application as UnInstall.exe it uninstalls; copied to the temp folder as strKVTemp.exe it
// waits for the uninstaller to end and deletes the folder the uninstaller could not delete
// while it was running from it. Under any other name it does nothing, so a renamed copy is
// harmless.
enum class StartupMode {
    Uninstall,
    Cleanup,
    Nothing,
};

[[nodiscard]] StartupMode ModeForExeName(const std::string& exeName);

// The first plain (non-switch) parameter of a command line already split into arguments;
// switches start with '/' or '-'. Empty when there is none.
[[nodiscard]] std::string FirstPlainParameter(int argumentCount, const char* const* arguments);
