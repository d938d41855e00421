#pragma once

#include "app/run/cleanup_request.h"

#include <functional>
#include <string>

// The uninstaller cannot delete the folder its own executable runs from. It copies itself as
// strKVTemp.exe into a new work folder in the temp folder (see sysops/work_folder.h) and
// starts that copy there, which waits for it to end and then deletes the uninstall folder.
// The copy is a new file, held against changes until its process has started; beforeStart,
// for tests, sees it in that moment. False when there is no usable temp folder or the copy
// could not be made or started; no work folder stays then.
bool StartCleanupCopy(const std::string& ownPath, const std::string& folder,
                      const std::function<void(const std::string& copyPath)>& beforeStart = {});

// The cleanup copy's work: wait at most ten seconds for the uninstaller, then delete the
// folder tree; what is still in use then is scheduled for deletion at the next restart. It
// deletes only an uninstaller's folder: one the path judge lets go (sysops/path_judge.h), that
// still holds UnInstall.exe, and, when it waited for a process, the folder that process ran
// from. So a damaged record or a stray command line can never wipe a profile or the machine.
void RunCleanup(const CleanupRequest& request);

// Why the uninstaller would not hand the folder to its cleanup copy: the judge's refusal, or
// "not the uninstaller's folder" unless it resolves to the folder that holds the uninstaller
// at uninstallerPath. Empty when the copy may delete it.
[[nodiscard]] std::string CleanupRefusalReason(const std::string& folder, const std::string& uninstallerPath);
