#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A picture of a window as it shows, frame included, taken from the window's own surface; the
// tests look at its pixels and keep it as a PNG file for people to look at.
class WindowPicture {
public:
    enum class Repaint { First, AsItIs };

    // Repaint::First has the window and its controls paint what is pending before the picture
    // is taken; AsItIs takes what the window painted so far and sends it no message. A window
    // of another process is taken from the screen, where nothing may cover it.
    static WindowPicture Take(HWND window, Repaint repaint = Repaint::First);

    [[nodiscard]] bool Empty() const { return m_pixels.empty(); }
    [[nodiscard]] int Width() const { return m_width; }
    [[nodiscard]] int Height() const { return m_height; }
    // The colour at a point of the picture; black outside it.
    [[nodiscard]] COLORREF Pixel(int x, int y) const;
    // Where a control of the window lies in the picture.
    [[nodiscard]] RECT AreaOf(HWND control) const;
    // Where the window's client area lies in the picture.
    [[nodiscard]] RECT ClientArea() const;

    // The smallest rectangle around the dark pixels (text and glyph strokes) in the area;
    // empty when there are none.
    [[nodiscard]] RECT InkBox(const RECT& area) const;
    // How many runs of rows with dark pixels the area holds: one per line of text.
    [[nodiscard]] int InkLines(const RECT& area) const;

    bool SavePng(const std::string& path) const;

private:
    [[nodiscard]] bool IsInk(int x, int y) const;

    HWND m_window = nullptr;
    POINT m_origin = {};
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels; // 0x00RRGGBB, top row first
};
