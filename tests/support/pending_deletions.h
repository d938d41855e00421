#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What Windows is to delete at its next start: the deletions of the Session Manager's
// PendingFileRenameOperations, as plain paths in the order they are carried out.
[[nodiscard]] std::vector<std::string> PendingRestartDeletions();

// The deletions that were scheduled since the earlier listing.
[[nodiscard]] std::vector<std::string> ScheduledSince(const std::vector<std::string>& earlier);

// Takes the deletions of these paths out again, so that a test leaves the shared prefix's next
// start as it found it.
void ForgetRestartDeletions(const std::vector<std::string>& paths);

// A file held open, as a running program holds its files, without sharing its deletion.
class HeldOpenFile {
public:
    explicit HeldOpenFile(const std::string& path);
    ~HeldOpenFile();
    HeldOpenFile(const HeldOpenFile&) = delete;
    HeldOpenFile& operator=(const HeldOpenFile&) = delete;

    [[nodiscard]] bool IsHeld() const { return m_file != INVALID_HANDLE_VALUE; }
    void Release();

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
};
