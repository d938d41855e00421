#pragma once

#include "ui/language_file.h"

#include <windows.h>

#include <string>

// The look shared by the pages: the page font from the language file, bold titles, and the
// banner and side pictures.

// The font of the language file's DialogFont section, or null without a language file. A
// FontSize that is not a number gives height 0, the system's default height.
[[nodiscard]] HFONT CreatePageFont(const LanguageFile& language);

// Sends the font, with redraw, to every descendant control of the page.
void ApplyFontToDescendants(HWND page, HFONT font);

// A static text drawn in a variant of the page's current font: bold for the titles, the same
// font for the other texts of the finish and restart pages.
class FontStatic {
public:
    FontStatic() = default;
    ~FontStatic();
    FontStatic(const FontStatic&) = delete;
    FontStatic& operator=(const FontStatic&) = delete;

    // Takes the page's current font with the given weight (700 for a title).
    void Attach(HWND page, int controlId, LONG weight);

private:
    HFONT m_font = nullptr;
};

// A static control that shows one bitmap at its natural size from the top-left corner,
// clipped to the control: a banner that is too large is cut, never scaled.
class PictureStatic {
public:
    PictureStatic() = default;
    ~PictureStatic();
    PictureStatic(const PictureStatic&) = delete;
    PictureStatic& operator=(const PictureStatic&) = delete;

    void Attach(HWND page, int controlId);
    // On failure the control keeps what it showed.
    bool LoadFromFile(const std::string& path);
    bool LoadFromResource(int resourceId);
    [[nodiscard]] bool HasBitmap() const { return m_bitmap != nullptr; }

private:
    static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    void Paint(HWND window);
    void Replace(HBITMAP bitmap, int resourceId);

    HWND m_control = nullptr;
    HBITMAP m_bitmap = nullptr;
    int m_resourceId = 0;
};
