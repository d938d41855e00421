#pragma once

class InstallRecord;

// The run's last two steps, which the record's item lists do not drive: the application's
// Windows uninstall entry, named by the record's GUID, and the record's description folder.

// What became of the uninstall entry.
enum class EntryRemoval { NoGuid, Missing, Removed, Failed };

// Deletes the application's subkey of the Windows Uninstall key. False only when the
// Uninstall key itself cannot be opened. outcome, when given, receives what became of it.
bool RemoveUninstallEntry(const InstallRecord& record, EntryRemoval* outcome = nullptr);

// Whether the Windows uninstall entry that the record's GUID names is there, in either view.
[[nodiscard]] bool HasUninstallEntry(const InstallRecord& record);

// Removes the record's description folder where it holds no files; true when it is gone.
bool RemoveDescFolder(const InstallRecord& record);
