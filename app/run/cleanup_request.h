#pragma once

#include <string>

// The two names the one executable answers to: installed beside the application it uninstalls,
// copied to the temp folder it is the cleanup copy.
inline constexpr const char* kUninstallerName = "UnInstall.exe";
inline constexpr const char* kCleanupCopyName = "strKVTemp.exe";

// The cleanup copy's one argument: the uninstalling process id in decimal, a comma, the
// folder. Without a comma the whole text is the folder and there is no process to wait for.
struct CleanupRequest {
    unsigned long processId = 0;
    std::string folder;
};

[[nodiscard]] CleanupRequest ParseCleanupParameter(const std::string& parameter);
[[nodiscard]] std::string FormatCleanupParameter(unsigned long processId, const std::string& folder);
