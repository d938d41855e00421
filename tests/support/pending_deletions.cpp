#include "tests/support/pending_deletions.h"

#include <algorithm>

namespace {

constexpr const char* kSessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kPendingValue = "PendingFileRenameOperations";
constexpr const char* kNtPrefix = "\\??\\";

// The value's strings in order: a source, then its target, an empty target for a deletion.
std::vector<std::string> PendingStrings()
{
    std::vector<std::string> strings;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return strings;
    DWORD size = 0;
    if (RegQueryValueExA(key, kPendingValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS && size > 0) {
        std::string data(size, '\0');
        if (RegQueryValueExA(key, kPendingValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &size)
            == ERROR_SUCCESS) {
            data.resize(size);
            // The list ends with one more empty string; what is left is pairs.
            for (std::size_t start = 0; start < data.size();) {
                const std::size_t end = std::min(data.find('\0', start), data.size());
                strings.push_back(data.substr(start, end - start));
                start = end + 1;
            }
            while (strings.size() % 2 != 0 && !strings.empty() && strings.back().empty())
                strings.pop_back();
        }
    }
    RegCloseKey(key);
    return strings;
}

std::string PlainPath(const std::string& source)
{
    return source.rfind(kNtPrefix, 0) == 0 ? source.substr(4) : source;
}

}

std::vector<std::string> PendingRestartDeletions()
{
    const std::vector<std::string> strings = PendingStrings();
    std::vector<std::string> deletions;
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
        if (strings[i + 1].empty())
            deletions.push_back(PlainPath(strings[i]));
    }
    return deletions;
}

std::vector<std::string> ScheduledSince(const std::vector<std::string>& earlier)
{
    std::vector<std::string> now = PendingRestartDeletions();
    if (now.size() >= earlier.size() && std::equal(earlier.begin(), earlier.end(), now.begin()))
        now.erase(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(earlier.size()));
    return now;
}

void ForgetRestartDeletions(const std::vector<std::string>& paths)
{
    const std::vector<std::string> strings = PendingStrings();
    std::string kept;
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
        const bool forget = strings[i + 1].empty()
            && std::find(paths.begin(), paths.end(), PlainPath(strings[i])) != paths.end();
        if (!forget)
            kept += strings[i] + '\0' + strings[i + 1] + '\0';
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (kept.empty()) {
        RegDeleteValueA(key, kPendingValue);
    } else {
        kept += '\0';
        RegSetValueExA(key, kPendingValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kept.data()),
                       static_cast<DWORD>(kept.size()));
    }
    RegCloseKey(key);
}

HeldOpenFile::HeldOpenFile(const std::string& path)
    : m_file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr))
{
}

HeldOpenFile::~HeldOpenFile() { Release(); }

void HeldOpenFile::Release()
{
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}
