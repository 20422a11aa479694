#include "win32/FireDrawing.h"

#include <cstddef>
#include <cstring>

#include "fire/ScreenLayout.h"

// The platform reads our records as its own: the layouts must agree.
static_assert(sizeof(RampColor) == sizeof(RGBQUAD), "colour table entry");
static_assert(sizeof(PaletteColor) == sizeof(PALETTEENTRY), "palette entry");
static_assert(offsetof(FirePaletteRecord, entries) == offsetof(LOGPALETTE, palPalEntry),
              "palette header");

namespace {

constexpr UINT StaticColorCount = 10;
constexpr UINT UpperStaticIndex = 246;

struct SurfaceInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

}  // namespace

HPALETTE BuildFirePalette(FireColorRamp& ramp, int32_t fireCount)
{
    HDC screen = GetDC(nullptr);
    auto* entries = reinterpret_cast<PALETTEENTRY*>(FirePalette.entries);
    // On a display without a palette these fill nothing; the entries keep
    // the black they hold from start, in palette and table alike.
    GetSystemPaletteEntries(screen, 0, StaticColorCount, entries);
    GetSystemPaletteEntries(screen, UpperStaticIndex, StaticColorCount, entries + UpperStaticIndex);
    MergeFirePalette(ramp, FirePalette, fireCount);
    ReleaseDC(nullptr, screen);
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&FirePalette));
}

FrameSurface CreateFrameSurface(const FireColorRamp& ramp, int32_t width, int32_t height)
{
    SurfaceInfo info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;  // top-down: grid row 0 is the top
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    std::memcpy(info.colors, ramp.entries, sizeof info.colors);

    FrameSurface surface = {};
    surface.memoryDC = CreateCompatibleDC(nullptr);
    if (!surface.memoryDC) return surface;

    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        DeleteDC(surface.memoryDC);
        surface.memoryDC = nullptr;
        return surface;
    }
    surface.pixels = static_cast<uint8_t*>(bits);
    surface.previousBitmap = static_cast<HBITMAP>(SelectObject(surface.memoryDC, bitmap));
    return surface;
}

void DestroyFrameSurface(FrameSurface& surface)
{
    if (!surface.memoryDC || !surface.previousBitmap) return;
    HGDIOBJ section = SelectObject(surface.memoryDC, surface.previousBitmap);
    surface.previousBitmap = nullptr;
    DeleteObject(section);
    DeleteDC(surface.memoryDC);
}

void EraseFrameBackground(HWND window, HDC windowDC, const FrameSurface& surface)
{
    RECT client = {};
    GetClientRect(window, &client);
    PatBlt(windowDC, client.left, client.top, client.right, client.bottom, BLACKNESS);
    // The surface is never larger than the client area; GDI clips the rest.
    if (surface.memoryDC)
        PatBlt(surface.memoryDC, client.left, client.top, client.right, client.bottom, BLACKNESS);
}

void PresentFrame(HWND window, const FrameSurface& surface, HPALETTE palette,
                  const RECT& clientRect, int32_t width, int32_t height, int32_t size,
                  int32_t scaling, int32_t firstRow)
{
    const int32_t first = firstRow < 0 ? 0 : firstRow;
    if (scaling == 0 && first >= height) return;  // nothing changed
    HDC dc = GetDC(window);
    SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    const ScreenRect area = {clientRect.left, clientRect.top, clientRect.right, clientRect.bottom};
    const FramePlacement place = PlaceFrame(area, width, height, size, scaling);
    if (scaling != 0) {
        StretchBlt(dc, place.x, place.y, place.width, place.height, surface.memoryDC, 0, 0, width,
                   height, SRCCOPY);
    } else {
        BitBlt(dc, place.x, place.y + first, place.width, place.height - first, surface.memoryDC, 0,
               first, SRCCOPY);
    }
    ReleaseDC(window, dc);
}
