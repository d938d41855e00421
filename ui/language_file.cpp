#include "ui/language_file.h"

#include "base/double_byte.h"
#include "base/text_compare.h"
#include "record/decimal_text.h"
#include "record/record_line_reader.h"

bool LanguageFile::LoadLanguage(const std::string& name, const std::string& path)
{
    RecordLineReader reader;
    if (!reader.Open(path))
        return false;
    m_name = name;
    m_path = path;
    m_sections.clear();
    RecordLine line;
    while (reader.Next(line)) {
        LanguageSection& section = SectionFor(line.section);
        section.keys.push_back(std::move(line.key));
        section.values.push_back(std::move(line.value));
    }
    return true;
}

const LanguageSection* LanguageFile::FindSection(const std::string& name) const
{
    for (const auto& section : m_sections) {
        if (EqualsNoCase(section.name, name))
            return &section;
    }
    return nullptr;
}

LanguageSection& LanguageFile::SectionFor(const std::string& name)
{
    for (auto& section : m_sections) {
        if (EqualsNoCase(section.name, name))
            return section;
    }
    m_sections.push_back({name, {}, {}});
    return m_sections.back();
}

std::string LanguageFile::GetString(const std::string& section, const std::string& key, bool* found) const
{
    if (found)
        *found = false;
    const LanguageSection* match = FindSection(section);
    if (!match)
        return {};
    for (std::size_t i = 0; i < match->keys.size(); ++i) {
        if (EqualsNoCase(match->keys[i], key)) {
            if (found)
                *found = true;
            return ExpandLineBreaks(match->values[i]);
        }
    }
    return {};
}

std::string LanguageFile::GetString(const std::string& section, int id, bool* found) const
{
    return GetString(section, FormatDecimal(id), found);
}

int LanguageFile::GetInt(const std::string& section, const std::string& key) const
{
    return ParseDecimal(GetString(section, key));
}

std::string ExpandLineBreaks(const std::string& text)
{
    std::string expanded;
    expanded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            expanded += c;
            expanded += text[++i];
        } else if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            expanded += '\n';
            ++i;
        } else {
            expanded += c;
        }
    }
    return expanded;
}
