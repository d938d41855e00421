#include "sysops/held_copy.h"

#include "sysops/file_handle.h"

#include <vector>

namespace {

bool ReadWhole(HANDLE file, std::vector<char>& bytes)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7fffffff)
        return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    return bytes.empty()
        || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
}

bool WriteWhole(HANDLE file, const std::vector<char>& bytes)
{
    DWORD written = 0;
    return bytes.empty()
        || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
}

// A link or hard link of that name is removed as a name; its target keeps its content.
void RemoveExisting(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        RemoveDirectoryA(path.c_str());
    else if (!DeleteFileA(path.c_str()) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
}

bool WriteNewFile(const std::string& path, const std::vector<char>& bytes)
{
    // CREATE_NEW fails on any name that exists, a dangling link included.
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    const bool written = WriteWhole(file.Get(), bytes);
    if (!written) {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition);
    }
    return written;
}

}

HeldFileCopy::~HeldFileCopy()
{
    if (m_held != INVALID_HANDLE_VALUE)
        CloseHandle(m_held);
}

bool HeldFileCopy::Make(const std::string& source, const std::string& destination)
{
    std::vector<char> bytes;
    {
        FileHandle original(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!original.IsOpen() || !ReadWhole(original.Get(), bytes))
            return false;
    }
    RemoveExisting(destination);
    if (!WriteNewFile(destination, bytes))
        return false;
    // A program cannot be started while a handle with write access is open on it, so the
    // writing handle is closed and a reading one, that denies writing and deletion, taken.
    FileHandle held(CreateFileA(destination.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    std::vector<char> check;
    if (!held.IsOpen() || !GetFileInformationByHandle(held.Get(), &information)
        || (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        || information.nNumberOfLinks != 1 || !ReadWhole(held.Get(), check) || check != bytes)
        return false;
    m_held = held.Release();
    return true;
}
