#include "script/script_reader.h"

#include "script/script_text.h"

bool ScriptReader::ReadLine(bool skipEmpty, std::string& line)
{
    while (!m_atEnd) {
        auto end = m_text.find('\r', m_position);
        std::string_view raw;
        if (end == std::string_view::npos) {
            raw = m_text.substr(m_position);
            m_position = m_text.size();
            m_atEnd = true;
        } else {
            raw = m_text.substr(m_position, end - m_position);
            m_position = end + 1;
        }
        ++m_lineNumber;
        line.assign(raw);
        for (char& character : line) {
            if (character == '\t')
                character = ' ';
        }
        line = std::string(TrimBlanks(TrimWhiteSpace(line)));
        if (line.size() >= 2 && line[0] == '/' && line[1] == '/')
            line.clear();
        if (!line.empty() || !skipEmpty)
            return true;
    }
    return false;
}
