#pragma once

#include "ui/language_file.h"

#include <windows.h>

#include <cstddef>

// The language file's sections for the texts of the pages.
inline constexpr const char* kProcessSection = "SdUninstallProcess";
inline constexpr const char* kFinishSection = "SdUnInstallFinish";
inline constexpr const char* kRebootSection = "SdUninstallReboot";
inline constexpr const char* kButtonsSection = "WizardButtons";

// Where the language file keeps the text of one control: its section and its key. A row
// without a key name is keyed by the control id in decimal, as the page sections are.
struct PageText {
    int controlId;
    const char* section;
    const char* key = nullptr;
};

// Sets every listed control's text from the loaded language file; a missing key sets an empty
// text. Without a loaded language file the texts stay as they are.
void ApplyPageTexts(HWND page, const LanguageFile& language, const PageText* rows, size_t count);

template<size_t N>
void ApplyPageTexts(HWND page, const LanguageFile& language, const PageText (&rows)[N])
{
    ApplyPageTexts(page, language, rows, N);
}
