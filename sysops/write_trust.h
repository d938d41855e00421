#pragma once

#include <string>
#include <vector>

// The uninstaller runs elevated, often as SYSTEM. A file it loads or runs, or a folder on the
// way to it, that anyone else can change would hand that account the machine: its owner
// could put their own code in its place. Changing means writing, appending, deleting, or
// taking ownership or rewriting the access list; a folder that lets someone delete its
// entries counts as well, and the file's own folder also when it lets them add one. Administrators, SYSTEM, TrustedInstaller and the
// account the uninstaller runs as are trusted; the account's own unelevated programs are no
// boundary that Windows keeps.

// The first thing on the way that someone else can change; trusted when there is none.
struct WriteTrust {
    bool trusted = true;
    std::string changeable; // the file or folder
    std::string account;    // who can change it, "BUILTIN\Users" or "Everyone"
};

// Untrusted accounts: SID texts and names, in step. A path whose access list cannot be read
// counts as changeable by the unknown account "unknown".
struct PathChangers {
    std::vector<std::string> sids;
    std::vector<std::string> names;
};

// Those that can change the file or a folder on its way, by the rules of CheckWriteTrust.
[[nodiscard]] PathChangers ChangersAlongTheWay(const std::string& path);

// Those that can remove what the folder holds: delete its entries, or grant themselves that.
[[nodiscard]] PathChangers RemoversIn(const std::string& folder);

// True when the process holds administrator rights: an elevated token or an effective
// membership of Administrators (SYSTEM has both).
[[nodiscard]] bool RunsElevated();

// Checks the file and every folder above it up to the drive or share root. For the file and
// its own folder every change counts; for the folders above, what replaces an entry: deleting
// or renaming one, or rewriting the access list or owner. A path whose access list cannot be
// read is not trusted.
[[nodiscard]] WriteTrust CheckWriteTrust(const std::string& path);

// The check where it matters: while elevated. Without administrator rights nothing is gained
// by changing a file, and everything counts as trusted.
[[nodiscard]] WriteTrust CheckTrustWhileElevated(const std::string& path);

// "S-1-5-21-...": the account the process runs as, for access lists; empty when unknown.
[[nodiscard]] std::string OwnAccountSidText();

// "Everyone can change C:\App".
[[nodiscard]] std::string ChangeableReason(const WriteTrust& trust);

// The check before a file that came with the installation is loaded or run. When it fails,
// the user is told which file was not run and who can change it, in a message box (which a
// silent uninstall writes to its log): "C:\App\hw.dll was not run: Everyone can change C:\App."
[[nodiscard]] WriteTrust CheckBeforeRunning(const std::string& path);

// Tells the user, in the same words, that the file was not run.
void TellNotRun(const std::string& path, const WriteTrust& trust);

// The same as a yes or no.
[[nodiscard]] inline bool MayRunElevated(const std::string& path) { return CheckBeforeRunning(path).trusted; }
