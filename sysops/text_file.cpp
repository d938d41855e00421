#include "sysops/file_ops.h"

#include "sysops/file_handle.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

bool WriteAll(HANDLE file, const std::string& text)
{
    std::string::size_type done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        const DWORD piece = static_cast<DWORD>(std::min<std::string::size_type>(text.size() - done, 1u << 30));
        if (!WriteFile(file, text.data() + done, piece, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

}

bool WriteTextFile(const std::string& path, const std::string& text, bool append)
{
    // OPEN_ALWAYS also opens a hidden file, which CREATE_ALWAYS with normal attributes
    // refuses; the old content is cut explicitly instead.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    const bool placed = append ? SetFilePointer(file.Get(), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER
                               : SetEndOfFile(file.Get()) != FALSE;
    return placed && WriteAll(file.Get(), text);
}

bool ReadTextFile(const std::string& path, std::string& text)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    char chunk[1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        // Each chunk is taken as a zero-terminated text: a zero byte ends that chunk's part.
        text.append(chunk, strnlen(chunk, got));
    }
}
