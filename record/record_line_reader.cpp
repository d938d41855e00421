#include "record/record_line_reader.h"

#include <cstring>

namespace {

constexpr std::size_t BufferSize = 64 * 1024;
constexpr char LineEnd = '\r';

using Offset = std::string::size_type;

// Space, tab, LF, VT, FF and CR; the same in every locale and code page.
bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The bounds of the text between its leading and trailing white space.
void TrimWhiteSpace(const std::string& text, Offset& begin, Offset& end)
{
    begin = 0;
    end = text.size();
    while (begin < end && IsWhiteSpace(text[begin]))
        ++begin;
    while (end > begin && IsWhiteSpace(text[end - 1]))
        --end;
}

// Blanks, as opposed to white space, are the space character only.
void AssignWithoutBlanks(std::string& target, const std::string& text, Offset begin, Offset end)
{
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    target.assign(text, begin, end - begin);
}

bool IsSectionHeader(const std::string& text, Offset begin, Offset end)
{
    return end - begin >= 2 && text[begin] == '[' && text[end - 1] == ']';
}

void SplitKeyLine(const std::string& text, Offset begin, Offset end, std::string& key, std::string& value)
{
    const void* found = std::memchr(text.data() + begin, '=', end - begin);
    if (!found) {
        AssignWithoutBlanks(key, text, begin, end);
        value.clear();
        return;
    }
    const Offset equals = static_cast<const char*>(found) - text.data();
    AssignWithoutBlanks(key, text, begin, equals);
    AssignWithoutBlanks(value, text, equals + 1, end);
}

}

RecordLineReader::~RecordLineReader() { Close(); }

bool RecordLineReader::Open(const std::string& path)
{
    Close();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    Attach(file);
    return true;
}

void RecordLineReader::Attach(std::FILE* file)
{
    Close();
    m_file = file;
    m_buffer.resize(BufferSize);
    m_bufferStart = m_bufferEnd = 0;
    m_endOfFile = false;
    m_failed = false;
    m_section.clear();
}

void RecordLineReader::Close()
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    m_endOfFile = true;
}

bool RecordLineReader::FillBuffer()
{
    if (m_endOfFile)
        return false;
    m_bufferStart = 0;
    m_bufferEnd = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    if (m_bufferEnd == 0) {
        m_endOfFile = true;
        // A read error is not the end of the file: half a record would remove half an
        // installation and report success, so the caller must learn of it.
        m_failed = std::ferror(m_file) != 0;
    }
    return m_bufferEnd > 0;
}

// The bytes up to the next CR or the end of the file. Reading a block at a time gives the
// same lines as reading byte by byte.
bool RecordLineReader::ReadRawLine(std::string& text)
{
    text.clear();
    bool any = false;
    while (m_bufferStart < m_bufferEnd || FillBuffer()) {
        any = true;
        const char* begin = m_buffer.data() + m_bufferStart;
        const std::size_t available = m_bufferEnd - m_bufferStart;
        const void* end = std::memchr(begin, LineEnd, available);
        if (end) {
            const std::size_t length = static_cast<const char*>(end) - begin;
            text.append(begin, length);
            m_bufferStart += length + 1;
            return true;
        }
        text.append(begin, available);
        m_bufferStart = m_bufferEnd;
    }
    return any;
}

bool RecordLineReader::Next(RecordLine& line)
{
    if (!m_file)
        return false;
    while (ReadRawLine(m_rawLine)) {
        // The last piece before a read error is cut short; it is no line of the file.
        if (m_failed)
            return false;
        Offset begin = 0;
        Offset end = 0;
        TrimWhiteSpace(m_rawLine, begin, end);
        if (begin == end)
            continue;
        if (IsSectionHeader(m_rawLine, begin, end)) {
            m_section.assign(m_rawLine, begin + 1, end - begin - 2);
            continue;
        }
        line.section = m_section;
        // The line is trimmed already, so only the blanks next to the '=' go.
        SplitKeyLine(m_rawLine, begin, end, line.key, line.value);
        return true;
    }
    return false;
}
