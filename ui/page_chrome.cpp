#include "ui/page_chrome.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

HFONT CreatePageFont(const LanguageFile& language)
{
    if (!language.IsLoaded())
        return nullptr;
    const std::string face = language.GetString("DialogFont", "FontName");
    const int height = language.GetInt("DialogFont", "FontSize");
    LOGFONTA description = {};
    description.lfHeight = height;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfOutPrecision = OUT_DEFAULT_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = DEFAULT_PITCH;
    strncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectA(&description);
}

namespace {

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font)
{
    SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

}

void ApplyFontToDescendants(HWND page, HFONT font)
{
    if (font)
        EnumChildWindows(page, SetFontOnChild, reinterpret_cast<LPARAM>(font));
}

HFONT CurrentPageFont(HWND page, HFONT pageFont)
{
    // The dialog itself keeps reporting its template's font after its controls got another.
    return pageFont ? pageFont : reinterpret_cast<HFONT>(SendMessageA(page, WM_GETFONT, 0, 0));
}

FontStatic::FontStatic()
{
    m_description = {};
    m_description.lfHeight = 12;
    m_description.lfWeight = FW_NORMAL;
}

FontStatic::~FontStatic()
{
    if (m_control)
        RemoveWindowSubclass(m_control, Subclass, 0);
}

void FontStatic::Attach(HWND page, int controlId, HFONT pageFont, LONG weight)
{
    LOGFONTA description = {};
    if (pageFont && GetObjectA(pageFont, sizeof description, &description)) {
        if (weight != 0)
            description.lfWeight = weight;
        m_description = description;
    }
    m_control = GetDlgItem(page, controlId);
    if (m_control && !SetWindowSubclass(m_control, Subclass, 0, reinterpret_cast<DWORD_PTR>(this)))
        m_control = nullptr;
    Repaint();
}

void FontStatic::SetDrawingFlags(UINT flags)
{
    m_drawingFlags = flags;
    Repaint();
}

void FontStatic::Repaint() const
{
    if (!m_control)
        return;
    // The text is drawn over the page's own background, so the page repaints what lies beneath
    // the control first; otherwise a shorter text would leave the old one showing.
    HWND page = GetParent(m_control);
    RECT area;
    GetWindowRect(m_control, &area);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(page, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FontStatic::Paint(HWND window) const
{
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    const int length = GetWindowTextLengthA(window);
    std::vector<char> text(static_cast<size_t>(length) + 2, '\0');
    GetWindowTextA(window, text.data(), length + 1);
    RECT area;
    GetClientRect(window, &area);
    HFONT font = CreateFontIndirectA(&m_description);
    HGDIOBJ previous = SelectObject(context, font);
    SetBkMode(context, TRANSPARENT);
    DrawTextA(context, text.data(), -1, &area, m_drawingFlags);
    SelectObject(context, previous);
    DeleteObject(font);
    EndPaint(window, &paint);
}

LRESULT CALLBACK FontStatic::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* text = reinterpret_cast<FontStatic*>(data);
    switch (message) {
    case WM_PAINT:
        text->Paint(window);
        return 0;
    case WM_SETTEXT: {
        // The static control's own handler would paint the new text at once in its own way. A
        // subclass procedure is a Unicode procedure, so the text arrives here as a wide string.
        const LRESULT stored = DefWindowProcW(window, message, wParam, lParam);
        text->Repaint();
        return stored;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, Subclass, 0);
        text->m_control = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

PictureStatic::~PictureStatic()
{
    if (m_control)
        RemoveWindowSubclass(m_control, Subclass, 0);
    if (m_bitmap)
        DeleteObject(m_bitmap);
}

void PictureStatic::Attach(HWND page, int controlId)
{
    m_control = GetDlgItem(page, controlId);
    if (m_control && !SetWindowSubclass(m_control, Subclass, 0, reinterpret_cast<DWORD_PTR>(this)))
        m_control = nullptr;
}

void PictureStatic::Replace(HBITMAP bitmap, int resourceId)
{
    if (m_bitmap)
        DeleteObject(m_bitmap);
    m_bitmap = bitmap;
    m_resourceId = resourceId;
    if (m_control)
        InvalidateRect(m_control, nullptr, TRUE);
}

bool PictureStatic::LoadFromFile(const std::string& path)
{
    auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap)
        return false;
    Replace(bitmap, 0);
    return true;
}

bool PictureStatic::LoadFromResource(int resourceId)
{
    auto bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, 0));
    Replace(bitmap, resourceId);
    return bitmap != nullptr;
}

void PictureStatic::Paint(HWND window) const
{
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    HBITMAP image = m_bitmap;
    // The template's image belongs to the control, which frees it.
    if (!image && m_resourceId == 0)
        image = reinterpret_cast<HBITMAP>(SendMessageA(window, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size = {};
    if (image && GetObjectA(image, sizeof size, &size)) {
        RECT area;
        GetClientRect(window, &area);
        const int width = size.bmWidth < area.right ? size.bmWidth : area.right;
        const int height = size.bmHeight < area.bottom ? size.bmHeight : area.bottom;
        HDC source = CreateCompatibleDC(target);
        HGDIOBJ previous = SelectObject(source, image);
        BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK PictureStatic::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* picture = reinterpret_cast<PictureStatic*>(data);
    switch (message) {
    case WM_PAINT:
        // Always painted here: without an image the control draws nothing at all, where the
        // static control would fill itself with the dialog's colour.
        picture->Paint(window);
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, Subclass, 0);
        picture->m_control = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
