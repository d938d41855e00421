#pragma once

#include <windows.h>

// Owner of one open file or folder handle; destruction closes it. Both failure values of the
// system's open calls (INVALID_HANDLE_VALUE and null) count as no handle.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~FileHandle()
    {
        if (IsOpen())
            CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : m_handle(other.Release()) {}

    [[nodiscard]] bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    [[nodiscard]] HANDLE Get() const { return m_handle; }
    // Gives up the handle without closing it; the caller now owns it.
    HANDLE Release()
    {
        HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE m_handle;
};
