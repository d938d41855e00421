#include "sysops/command_line.h"

std::string QuotedProgramPath(const std::string& path)
{
    const bool quoted = !path.empty() && path.front() == '"';
    if (quoted || path.find_first_of(" \t") == std::string::npos)
        return path;
    return "\"" + path + "\"";
}
