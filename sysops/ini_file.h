#pragma once

#include <string>

// The system's profile (INI) readers: a text of at most 1023 characters, or the default.
[[nodiscard]] std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                                        const std::string& defaultText);
[[nodiscard]] int ReadIniInt(const std::string& file, const std::string& section, const std::string& key,
                             int defaultNumber);

// Writes the text under the key of the section, creating the file and the section when they
// are missing. False when the file could not be written, as when its folder does not exist
// or the file may not be changed.
[[nodiscard]] bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                                  const std::string& text);
