#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// A built 64-bit program read as its file lies: the bytes and the headers the loader reads
// first, for tests that check what the build put into them.
struct PeImage {
    std::vector<char> bytes;
    IMAGE_DOS_HEADER dos = {};
    IMAGE_NT_HEADERS64 headers = {};

    // The value at the file offset; false when the file ends before it.
    template <typename T>
    bool ReadAt(std::size_t offset, T& value) const
    {
        if (offset > bytes.size() || bytes.size() - offset < sizeof value)
            return false;
        std::memcpy(&value, bytes.data() + offset, sizeof value);
        return true;
    }
};

// False when the file cannot be read or is no 64-bit program.
bool ReadPeImage(const std::string& path, PeImage& image);
