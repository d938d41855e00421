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

// The font the page's texts are drawn in: the page font from the language file when there is
// one, else the font of the page's template.
[[nodiscard]] HFONT CurrentPageFont(HWND page, HFONT pageFont);

// Drawing flags of a FontStatic: one line, vertically centred; or wrapped at word ends.
inline constexpr UINT kSingleLineCentred = DT_SINGLELINE | DT_VCENTER;
inline constexpr UINT kWordBreak = DT_WORDBREAK;

// Weights of the page texts: titles are drawn bold, the other texts in the page font's own.
inline constexpr LONG kTitleWeight = FW_BOLD;

// A static text that paints itself: its window text in a font made from its description, with
// its drawing flags, over whatever the page painted beneath it.
class FontStatic {
public:
    FontStatic();
    ~FontStatic();
    FontStatic(const FontStatic&) = delete;
    FontStatic& operator=(const FontStatic&) = delete;

    // Takes over the painting of the page's control. The description becomes that of the
    // page's current font (CurrentPageFont), with the given weight when it is not 0.
    void Attach(HWND page, int controlId, HFONT pageFont, LONG weight = 0);
    void SetDrawingFlags(UINT flags);

private:
    static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    void Paint(HWND window) const;
    void Repaint() const;

    HWND m_control = nullptr;
    LOGFONTA m_description;
    UINT m_drawingFlags = kSingleLineCentred;
};

// A static control that shows one bitmap at its natural size from the top-left corner,
// clipped to the control: a banner that is too large is cut, never scaled. Without a bitmap of
// its own it shows the image its template gave the control, if any, and otherwise nothing, so
// that the page's body shows through.
class PictureStatic {
public:
    PictureStatic() = default;
    ~PictureStatic();
    PictureStatic(const PictureStatic&) = delete;
    PictureStatic& operator=(const PictureStatic&) = delete;

    void Attach(HWND page, int controlId);
    // On failure the control keeps what it showed.
    bool LoadFromFile(const std::string& path);
    // Frees the current bitmap whether or not the resource exists; the id is remembered, so the
    // template's image is not taken over afterwards.
    bool LoadFromResource(int resourceId);

private:
    static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    void Paint(HWND window) const;
    void Replace(HBITMAP bitmap, int resourceId);

    HWND m_control = nullptr;
    HBITMAP m_bitmap = nullptr;
    int m_resourceId = 0;
};
