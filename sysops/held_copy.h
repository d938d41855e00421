#pragma once

#include <windows.h>

#include <string>

// A copy of a file that nobody else can change while it is held. The destination is written
// as a new file, never through an existing file, link or hard link of that name: whatever is
// there is removed first, and the creation fails when something reappears in between. Once
// written, the copy is held open for reading only, with writing and deletion denied to every
// other handle, and its bytes are checked against the source through that handle, so a
// change made in the moment between writing and holding is caught. It is released when the
// object goes.
class HeldFileCopy {
public:
    HeldFileCopy() = default;
    ~HeldFileCopy();
    HeldFileCopy(const HeldFileCopy&) = delete;
    HeldFileCopy& operator=(const HeldFileCopy&) = delete;

    // False when the copy could not be made or held; nothing is held then.
    [[nodiscard]] bool Make(const std::string& source, const std::string& destination);

private:
    HANDLE m_held = INVALID_HANDLE_VALUE;
};
