#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads a script line by line. A line ends at a carriage return; a line feed stays at the
// start of the next line, where trimming removes it. Lines are numbered from 1, counting every
// physical line, empty and comment lines too.
class ScriptReader {
public:
    explicit ScriptReader(std::string_view text) : m_text(text) {}

    // The next line: tabs made blanks, trimmed, a "//" comment line made empty. With skipEmpty
    // empty lines are passed over. False when no line is left.
    [[nodiscard]] bool ReadLine(bool skipEmpty, std::string& line);

    [[nodiscard]] std::int32_t LineNumber() const { return m_lineNumber; }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
    bool m_atEnd = false;
    std::int32_t m_lineNumber = 0;
};
