#include "ui/page_texts.h"

void ApplyPageTexts(HWND page, const LanguageFile& language, const PageText* rows, size_t count)
{
    if (!language.IsLoaded())
        return;
    for (size_t i = 0; i < count; ++i) {
        const PageText& row = rows[i];
        const std::string text = row.key ? language.GetString(row.section, row.key)
                                         : language.GetString(row.section, row.controlId);
        SetDlgItemTextA(page, row.controlId, text.c_str());
    }
}
