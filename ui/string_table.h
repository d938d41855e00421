#pragma once

#include <string>

class LanguageFile;

// Ids of the built-in texts; a language file replaces them by the same ids in its
// "Strings" section.
namespace TextId {
inline constexpr int InitData = 1004;
inline constexpr int RemoveShellObject = 1005;
inline constexpr int RemoveRegistryInfo = 1006;
inline constexpr int Unregister = 1007;       // one %s: the server file
inline constexpr int Remove = 1008;           // one %s: the file or folder
inline constexpr int UninstallFailed = 1009;
inline constexpr int UninstallSucceeded = 1010;
inline constexpr int NotUninstalled = 1011;   // one %s: the application name
inline constexpr int Uninstalled = 1012;      // one %s: the application name
inline constexpr int NoUninstallInfo = 1013;
inline constexpr int ConfirmUninstall = 1014; // one %s: the application name
inline constexpr int GuidError = 1015;
inline constexpr int UninstallCaption = 1016; // one %s: the application name
inline constexpr int CleaningApplication = 1017; // one %s: the program
inline constexpr int StopService = 1018;      // one %s: the service executable
inline constexpr int WaitingForUninstall = 1019;
inline constexpr int Launch = 1020;           // one %s: the application name
}

inline constexpr char StringsSection[] = "Strings";

struct StringTableEntry {
    int id;
    const char* text;
};

// The built-in English texts, ids 1004 to 1020.
[[nodiscard]] const StringTableEntry* StringTableBegin();
[[nodiscard]] const StringTableEntry* StringTableEnd();

// The built-in text of an id; empty for an id the table does not hold.
[[nodiscard]] std::string GetTableText(int id);

// The user-visible text of an id: the language file's "Strings" entry when the file is
// loaded and holds the key (even with an empty value), else the built-in text.
[[nodiscard]] std::string GetText(int id, const LanguageFile* language);
