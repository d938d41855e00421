#pragma once

#include <string>

// The system's profile (INI) readers: a text of at most 1023 characters, or the default.
[[nodiscard]] std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                                        const std::string& defaultText);
[[nodiscard]] int ReadIniInt(const std::string& file, const std::string& section, const std::string& key,
                             int defaultNumber);
