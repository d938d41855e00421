#include "base/command_program.h"

#include "base/text_compare.h"

namespace {

// Quotes and blanks are below every trail byte of a double-byte character, so the text can
// be searched byte by byte.
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}

bool CommandStartsProgram(const std::string& commandLine, const std::string& program)
{
    if (program.empty())
        return false;
    std::string::size_type start = 0;
    while (start < commandLine.size() && IsBlank(commandLine[start]))
        ++start;
    if (start < commandLine.size() && commandLine[start] == '"') {
        const std::string::size_type close = commandLine.find('"', start + 1);
        return close != std::string::npos && EqualsNoCase(commandLine.substr(start + 1, close - start - 1), program);
    }
    const std::string text = commandLine.substr(start);
    if (EqualsNoCase(text, program))
        return true;
    if (program.find_first_of(" \t") != std::string::npos || text.size() <= program.size())
        return false;
    return IsBlank(text[program.size()]) && EqualsNoCase(text.substr(0, program.size()), program);
}
