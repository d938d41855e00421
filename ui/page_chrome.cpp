#include "ui/page_chrome.h"

#include <commctrl.h>

#include <cstring>

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

FontStatic::~FontStatic()
{
    if (m_font)
        DeleteObject(m_font);
}

void FontStatic::Attach(HWND page, int controlId, LONG weight)
{
    HFONT pageFont = reinterpret_cast<HFONT>(SendMessageA(page, WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    if (!pageFont || !GetObjectA(pageFont, sizeof description, &description))
        return;
    description.lfWeight = weight;
    HFONT font = CreateFontIndirectA(&description);
    if (!font)
        return;
    if (m_font)
        DeleteObject(m_font);
    m_font = font;
    SendDlgItemMessageA(page, controlId, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
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
    if (m_control)
        SetWindowSubclass(m_control, Subclass, 0, reinterpret_cast<DWORD_PTR>(this));
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

void PictureStatic::Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    BITMAP size = {};
    if (m_bitmap && GetObjectA(m_bitmap, sizeof size, &size)) {
        HDC source = CreateCompatibleDC(target);
        HGDIOBJ previous = SelectObject(source, m_bitmap);
        const int width = size.bmWidth < area.right ? size.bmWidth : area.right;
        const int height = size.bmHeight < area.bottom ? size.bmHeight : area.bottom;
        BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK PictureStatic::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* picture = reinterpret_cast<PictureStatic*>(data);
    if (message == WM_PAINT && picture->m_bitmap) {
        picture->Paint(window);
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
