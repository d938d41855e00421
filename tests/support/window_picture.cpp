#include "tests/support/window_picture.h"

#include <cstdio>

namespace {

// A pixel darker than this in every channel belongs to a text or a line, the smoothed edges of
// thin strokes included; the light grey of the dialogs is lighter.
constexpr int kInkLevel = 200;

uint32_t Crc32(const uint8_t* data, size_t length, uint32_t crc = 0)
{
    static uint32_t table[256] = {};
    if (!table[1]) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    crc = ~crc;
    for (size_t i = 0; i < length; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBigEndian(out, Crc32(typed.data(), typed.size()));
}

// The zlib stream of the rows, kept in stored blocks: the files are for looking at, not for
// keeping small, and a stored stream needs no compressor.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t offset = 0;
    do {
        const size_t length = raw.size() - offset < 65535 ? raw.size() - offset : 65535;
        const bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
            raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
}

}

WindowPicture WindowPicture::Take(HWND window, Repaint repaint)
{
    WindowPicture picture;
    if (repaint == Repaint::First) {
        // The window's own thread may be in the middle of painting a control that it has
        // already marked as painted; the empty message returns once that thread is back in its
        // message loop, and the second round paints whatever was left.
        for (int round = 0; round < 2; ++round) {
            RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
        }
    }
    RECT frame;
    if (!GetWindowRect(window, &frame))
        return picture;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    const bool ownWindow = owner == GetCurrentProcessId();
    // Only this process can read its own windows' surfaces.
    HWND sourceWindow = ownWindow ? window : nullptr;
    const POINT from = ownWindow ? POINT{0, 0} : POINT{frame.left, frame.top};
    HDC source = ownWindow ? GetWindowDC(window) : GetDC(nullptr);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (target) {
        HGDIOBJ previous = SelectObject(memory, target);
        if (BitBlt(memory, 0, 0, width, height, source, from.x, from.y, SRCCOPY)) {
            const auto* pixels = static_cast<const uint32_t*>(bits);
            picture.m_pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
            for (uint32_t& pixel : picture.m_pixels)
                pixel &= 0xFFFFFF;
            picture.m_width = width;
            picture.m_height = height;
            picture.m_origin = {frame.left, frame.top};
            picture.m_window = window;
        }
        SelectObject(memory, previous);
        DeleteObject(target);
    }
    DeleteDC(memory);
    ReleaseDC(sourceWindow, source);
    return picture;
}

COLORREF WindowPicture::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return RGB(0, 0, 0);
    const uint32_t pixel = m_pixels[static_cast<size_t>(y) * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

RECT WindowPicture::AreaOf(HWND control) const
{
    RECT area = {};
    GetWindowRect(control, &area);
    OffsetRect(&area, -m_origin.x, -m_origin.y);
    return area;
}

RECT WindowPicture::ClientArea() const
{
    RECT area = {};
    GetClientRect(m_window, &area);
    MapWindowPoints(m_window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    OffsetRect(&area, -m_origin.x, -m_origin.y);
    return area;
}

bool WindowPicture::IsInk(int x, int y) const
{
    const COLORREF colour = Pixel(x, y);
    return GetRValue(colour) < kInkLevel && GetGValue(colour) < kInkLevel && GetBValue(colour) < kInkLevel;
}

RECT WindowPicture::InkBox(const RECT& area) const
{
    RECT box = {area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (!IsInk(x, y))
                continue;
            box.left = x < box.left ? x : box.left;
            box.top = y < box.top ? y : box.top;
            box.right = x + 1 > box.right ? x + 1 : box.right;
            box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
        }
    }
    if (box.left >= box.right)
        return RECT{};
    return box;
}

int WindowPicture::InkLines(const RECT& area) const
{
    int lines = 0;
    bool inLine = false;
    for (int y = area.top; y < area.bottom; ++y) {
        bool ink = false;
        for (int x = area.left; x < area.right && !ink; ++x)
            ink = IsInk(x, y);
        if (ink && !inLine)
            ++lines;
        inLine = ink;
    }
    return lines;
}

bool WindowPicture::SavePng(const std::string& path) const
{
    if (Empty())
        return false;
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(m_height) * (1 + 3 * m_width));
    for (int y = 0; y < m_height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < m_width; ++x) {
            const uint32_t pixel = m_pixels[static_cast<size_t>(y) * m_width + x];
            raw.push_back(static_cast<uint8_t>(pixel >> 16));
            raw.push_back(static_cast<uint8_t>(pixel >> 8));
            raw.push_back(static_cast<uint8_t>(pixel));
        }
    }
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(m_width));
    PutBigEndian(header, static_cast<uint32_t>(m_height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, no interlace
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", StoredZlib(raw));
    PutChunk(file, "IEND", {});
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}
