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
    // Reads a stream that is already open; the reader closes it.
    void Attach(std::FILE* file);
    void Close();

    // The next key line; section headers only change the section that later lines carry.
    // False at the end of the file, and when the file could not be read to its end.
    [[nodiscard]] bool Next(RecordLine& line);
    // True when reading stopped at a read error rather than at the end of the file: the lines
    // given so far are only part of the file.
    [[nodiscard]] bool Failed() const { return m_failed; }

private:
    [[nodiscard]] bool ReadRawLine(std::string& text);
    [[nodiscard]] bool FillBuffer();

    std::FILE* m_file = nullptr;
    std::vector<char> m_buffer;
    std::size_t m_bufferStart = 0;
    std::size_t m_bufferEnd = 0;
    bool m_endOfFile = true;
    bool m_failed = false;
    std::string m_section;
    std::string m_rawLine;
};
