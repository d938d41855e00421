#include "app/path_text.h"

namespace {

bool NoLeadBytes(unsigned char) { return false; }

LeadByteTest g_leadByteTest = NoLeadBytes;

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}

void SetLeadByteTest(LeadByteTest test) { g_leadByteTest = test ? test : NoLeadBytes; }

bool IsLeadByte(unsigned char byte) { return g_leadByteTest(byte); }

std::string::size_type FindLastBackslash(const std::string& path)
{
    std::string::size_type found = std::string::npos;
    for (std::string::size_type i = 0; i < path.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i; // the trail byte belongs to this character, whatever its value
            continue;
        }
        if (path[i] == '\\')
            found = i;
    }
    return found;
}

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

bool EqualsNoCase(const std::string& left, const std::string& right)
{
    if (left.size() != right.size())
        return false;
    for (std::string::size_type i = 0; i < left.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(left[i])) && i + 1 < left.size()) {
            if (left[i] != right[i] || left[i + 1] != right[i + 1])
                return false;
            ++i;
            continue;
        }
        if (FoldAscii(left[i]) != FoldAscii(right[i]))
            return false;
    }
    return true;
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
