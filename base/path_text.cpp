#include "base/path_text.h"

#include "base/double_byte.h"

namespace {

// Offset of the last character that is the single byte `wanted`, or std::string::npos.
std::string::size_type FindLastSingleByte(const std::string& text, char wanted)
{
    std::string::size_type found = std::string::npos;
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i; // the trail byte belongs to this character, whatever its value
            continue;
        }
        if (text[i] == wanted)
            found = i;
    }
    return found;
}

}

std::string::size_type FindLastBackslash(const std::string& path) { return FindLastSingleByte(path, '\\'); }

std::string GetFolderPart(const std::string& path)
{
    auto slash = FindLastBackslash(path);
    if (slash == std::string::npos)
        return {};
    return path.substr(0, slash);
}

std::string GetFileNamePart(const std::string& path)
{
    auto slash = FindLastBackslash(path);
    if (slash == std::string::npos || slash == 0)
        return path;
    return path.substr(slash + 1);
}

std::string WithoutExtension(const std::string& name)
{
    auto dot = FindLastSingleByte(name, '.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string WithoutTrailingBackslash(const std::string& path)
{
    if (!path.empty() && FindLastBackslash(path) == path.size() - 1)
        return path.substr(0, path.size() - 1);
    return path;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder + "\\" + name;
}
