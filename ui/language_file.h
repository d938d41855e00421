#pragma once

#include <string>
#include <vector>

// One section of the language file: its keys and values in file order. Duplicate keys are
// kept; lookups find the first.
struct LanguageSection {
    std::string name;
    std::vector<std::string> keys;
    std::vector<std::string> values; // parallel to keys
};

// The optional language file Setup.lr: texts that replace the built-in ones, by section and
// key. It uses the install record's line reader, so only CR ends a line. Section names and
// keys are compared without regard to case.
class LanguageFile {
public:
    // Reads the file; false when it cannot be opened, and then nothing changes. Sections
    // whose names differ only in case are merged into the first of them.
    [[nodiscard]] bool LoadLanguage(const std::string& name, const std::string& path);
    [[nodiscard]] bool IsLoaded() const { return !m_name.empty(); }

    // The value of the first matching key with every backslash-n pair turned into a line
    // break; empty when the section or key is missing. found, when given, tells which.
    [[nodiscard]] std::string GetString(const std::string& section, const std::string& key, bool* found = nullptr) const;
    // The same with the key "%d" of id.
    [[nodiscard]] std::string GetString(const std::string& section, int id, bool* found = nullptr) const;
    // The decimal value of the text, 0 when it is missing or not a number.
    [[nodiscard]] int GetInt(const std::string& section, const std::string& key) const;

    [[nodiscard]] const std::string& Name() const { return m_name; }
    [[nodiscard]] const std::string& Path() const { return m_path; }
    [[nodiscard]] const std::vector<LanguageSection>& Sections() const { return m_sections; }

private:
    [[nodiscard]] const LanguageSection* FindSection(const std::string& name) const;
    [[nodiscard]] LanguageSection& SectionFor(const std::string& name);

    std::string m_name;
    std::string m_path;
    std::vector<LanguageSection> m_sections;
};

// Replaces every backslash followed by 'n' with a line break (LF). The trail byte of a
// double-byte character is never taken for a backslash.
[[nodiscard]] std::string ExpandLineBreaks(const std::string& text);
