#pragma once

#include "app/startup_mode.h"

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
// folder tree; what is still in use then is scheduled for deletion at the next restart. A folder that is empty, relative, a drive root or one of the system's own
// folders is refused, so a corrupted record can never wipe the machine.
void RunCleanup(const CleanupRequest& request);

// Whether the cleanup copy would delete the folder: not empty, absolute, and none of the
// folders it refuses.
[[nodiscard]] bool CleanupMayDelete(const std::string& folder);
