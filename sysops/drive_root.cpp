#include "sysops/drive_root.h"

#include "base/path_components.h"
#include "base/path_forms.h"
#include "base/path_text.h"
#include "base/text_compare.h"

#include <windows.h>

#include <cctype>
#include <vector>

namespace {

bool IsDriveLetterOnly(const std::string& text)
{
    return text.size() == 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':';
}

// A share root names at most a server and a share after its leading two separators.
bool IsShareRootText(const std::vector<std::string>& components)
{
    if (components.size() < 3 || !components[0].empty() || !components[1].empty())
        return false;
    int named = 0;
    for (std::size_t i = 2; i < components.size(); ++i)
        named += components[i].empty() ? 0 : 1;
    return named <= 2;
}

bool IsRootText(const std::string& path)
{
    const std::string text = WithoutDevicePrefix(path);
    const std::vector<std::string> components = SplitPathComponents(text);
    if (components.size() <= 2 && IsDriveLetterOnly(components[0]) && (components.size() == 1 || components[1].empty()))
        return true;
    return IsShareRootText(components);
}

}

std::string FullFolderPath(const std::string& path)
{
    std::string full(MAX_PATH, '\0');
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length >= full.size()) {
        full.assign(length, '\0');
        length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    }
    if (length == 0 || length >= full.size())
        return WithoutTrailingBackslash(path);
    full.resize(length);
    return WithoutTrailingBackslash(full);
}

bool IsDriveRoot(const std::string& path)
{
    if (path.empty())
        return false;
    // "C:" alone resolves to the current folder of drive C, so the text is judged as written
    // as well as resolved.
    return IsRootText(path) || IsRootText(FullFolderPath(path));
}
