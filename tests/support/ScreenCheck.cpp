#include "support/ScreenCheck.h"

#include <set>

Screenshot CaptureScreen()
{
    Screenshot shot;
    shot.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, shot.width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, height, screen, GetSystemMetrics(SM_XVIRTUALSCREEN),
           GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    shot.pixels.resize(static_cast<size_t>(shot.width) * height);
    GetDIBits(memory, bitmap, 0, height, shot.pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

FireLook LookAt(const Screenshot& shot, const RECT& area, const RECT& fire)
{
    static const std::set<DWORD> ramp = [] {  // heat 0 to 235: red, then green, then blue rise
        std::set<DWORD> colours;
        auto channel = [](int v) { return static_cast<DWORD>(v < 0 ? 0 : v > 255 ? 255 : v); };
        for (int heat = 0; heat <= 235; ++heat)
            colours.insert(channel(8 * heat) << 16 | channel(8 * (heat - 32)) << 8 | channel(8 * (heat - 64)));
        return colours;
    }();
    FireLook look;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const DWORD c = shot.pixels[static_cast<size_t>(y) * shot.width + x] & 0xFFFFFF;
            if (x < fire.left || x >= fire.right || y < fire.top || y >= fire.bottom) {
                look.litOutside += c != 0;
            } else {
                if (!ramp.count(c) && !look.strange++) look.firstStrange = c;
                look.lit += c != 0;
                look.litNearBottom += c != 0 && y >= fire.bottom - 4;
            }
        }
    }
    return look;
}
