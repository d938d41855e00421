#pragma once

#include <cstdio>
#include <string>
#include <vector>

// One key line of an INI-like text file, with the section it belongs to.
struct RecordLine {
    std::string section; // text between the brackets of the last header, empty before the first
    std::string key;
    std::string value;
};

// Reads the install record and the language file. Only CR ends a line (an LF is white
// space that trimming removes, so a file with LF-only line ends is one single line); lines
// are trimmed of white space and empty ones skipped; "[name]" opens a section; every other
// line is a key, split at its first '='. The bytes are taken as they are: no code page, no
// comments, no quoting.
class RecordLineReader {
public:
    RecordLineReader() = default;
    ~RecordLineReader();
    RecordLineReader(const RecordLineReader&) = delete;
    RecordLineReader& operator=(const RecordLineReader&) = delete;

    // Opens the file for reading; false when it cannot be opened.
    [[nodiscard]] bool Open(const std::string& path);
    void Close();

    // The next key line; section headers only change the section that later lines carry.
    // False at the end of the file.
    [[nodiscard]] bool Next(RecordLine& line);

private:
    [[nodiscard]] bool ReadRawLine(std::string& text);
    [[nodiscard]] bool FillBuffer();

    std::FILE* m_file = nullptr;
    std::vector<char> m_buffer;
    std::size_t m_bufferStart = 0;
    std::size_t m_bufferEnd = 0;
    bool m_endOfFile = true;
    std::string m_section;
    std::string m_rawLine;
};
