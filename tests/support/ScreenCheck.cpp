#include "support/ScreenCheck.h"

#include <set>

Screenshot CaptureScreen()
{
    Screenshot shot;
    shot.width = GetSystemMetrics(SM_CXSCREEN);
    shot.height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* raw = static_cast<const DWORD*>(bits);
    shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
    for (size_t i = 0; i < shot.pixels.size(); ++i) {
        const DWORD p = raw[i];  // 0x00RRGGBB
        shot.pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

bool IsFireColor(COLORREF color)
{
    static const std::set<COLORREF> ramp = [] {
        std::set<COLORREF> all;
        auto channel = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
        for (int heat = 0; heat <= 235; ++heat)
            all.insert(RGB(channel(8 * heat), channel(8 * (heat - 32)), channel(8 * (heat - 64))));
        return all;
    }();
    return ramp.count(color) != 0;
}

FireLook LookAt(const Screenshot& shot, const RECT& fire)
{
    return LookAt(shot, RECT{0, 0, shot.width, shot.height}, fire);
}

FireLook LookAt(const Screenshot& shot, const RECT& area, const RECT& fire)
{
    FireLook look;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = shot.At(x, y);
            const bool inside = x >= fire.left && x < fire.right && y >= fire.top && y < fire.bottom;
            if (!inside) {
                look.litOutside += c != 0;
                continue;
            }
            if (!IsFireColor(c)) {
                if (!look.strange) look.firstStrange = c;
                ++look.strange;
            }
            if (c != 0) {
                ++look.lit;
                if (y >= fire.bottom - 4) ++look.litNearBottom;
            }
        }
    }
    return look;
}

