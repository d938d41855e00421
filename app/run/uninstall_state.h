#pragma once

// Whether the uninstall goes ahead. The numbers are the ones scripts see as SS_UNINSTALL and
// SS_UNINSTALL_CANCEL, so they must not change.
enum class UninstallState : int {
    Uninstall = 10,
    Cancelled = 11, // the uninstall script called CancelUninstall
};

// The record's script settings: sftype 2 selects the VoScript engine, sfentype 2 says that the
// script files in the uninstall folder are stored scrambled.
inline constexpr int kScriptTypeVoScript = 2;
inline constexpr int kScriptFilesScrambled = 2;
