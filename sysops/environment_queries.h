#pragma once

#include <cstdint>
#include <string>

// Questions that uninstall scripts ask about the machine. Each answers with text; a question
// the system cannot answer gives the empty text.

// The Windows version as scripts know it, from "Windows32s" to "Windows7"; every NT version
// after 6.1 is "WindowsNT3", as it always was. Classified once per process.
[[nodiscard]] std::string GetOsName();

// What the classification reads: the family from the packed version's high bit, the numbers
// from the extended version query.
struct OsVersion {
    bool nineXFamily;
    std::uint32_t major;
    std::uint32_t minor;
};
[[nodiscard]] std::string OsNameFor(const OsVersion& version);

// "English", "Chinese-Simplified" or "Chinese-Traditional" for the user's default language.
[[nodiscard]] std::string GetLanguageName();
[[nodiscard]] std::string LanguageNameFor(std::uint16_t languageId);

// A new GUID as 36 characters without braces: upper-case hexadecimal except the third group,
// which is lower case.
[[nodiscard]] std::string NewGuidText();
struct GuidFields {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};
[[nodiscard]] std::string FormatGuidText(const GuidFields& guid);

// The installed version of "IIS" (exact case), "MDAC" or "Framework" (any case).
[[nodiscard]] std::string GetComponentVersion(const std::string& name);

// The texts of an application's Uninstall entry; each is empty when its value is missing or
// not a plain string.
struct UninstallEntry {
    std::string uninstallString;
    std::string displayName;
    std::string displayVersion;
    std::string installLocation;
};
// Reads the entry named key, from the 64-bit view or else the 32-bit one; false when neither
// has it.
[[nodiscard]] bool ReadUninstallEntry(const std::string& key, UninstallEntry& entry);

// The full path of the running program.
[[nodiscard]] std::string GetOwnModulePath();
