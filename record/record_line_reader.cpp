#include "record/record_line_reader.h"

#include <cstring>

namespace {

constexpr std::size_t BufferSize = 64 * 1024;
constexpr char LineEnd = '\r';

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Blanks, as opposed to white space, are the space character only.
std::string TrimBlanks(const std::string& text, std::string::size_type begin, std::string::size_type end)
{
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.substr(begin, end - begin);
}

}

RecordLineReader::~RecordLineReader() { Close(); }

bool RecordLineReader::Open(const std::string& path)
{
    Close();
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file)
        return false;
    m_buffer.resize(BufferSize);
    m_bufferStart = m_bufferEnd = 0;
    m_endOfFile = false;
    m_section.clear();
    return true;
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
    // A read error ends the file like its real end does: what was read so far counts.
    if (m_bufferEnd == 0)
        m_endOfFile = true;
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
        const std::string text = TrimWhiteSpace(m_rawLine);
        if (text.empty())
            continue;
        if (ParseSectionHeader(text, m_section))
            continue;
        line.section = m_section;
        SplitKeyLine(text, line.key, line.value);
        return true;
    }
    return false;
}

void RecordLineReader::SplitKeyLine(const std::string& text, std::string& key, std::string& value)
{
    const auto equals = text.find('=');
    if (equals == std::string::npos) {
        key = TrimBlanks(text, 0, text.size());
        value.clear();
        return;
    }
    // The line is trimmed already, so only the blanks next to the '=' go.
    key = TrimBlanks(text, 0, equals);
    value = TrimBlanks(text, equals + 1, text.size());
}

bool RecordLineReader::ParseSectionHeader(const std::string& text, std::string& name)
{
    if (text.size() < 2 || text.front() != '[' || text.back() != ']')
        return false;
    name = text.substr(1, text.size() - 2);
    return true;
}

std::string RecordLineReader::TrimWhiteSpace(const std::string& text)
{
    std::string::size_type begin = 0;
    std::string::size_type end = text.size();
    while (begin < end && IsWhiteSpace(text[begin]))
        ++begin;
    while (end > begin && IsWhiteSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}
