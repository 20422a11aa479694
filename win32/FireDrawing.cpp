#include "win32/FireDrawing.h"

namespace {

constexpr UINT StaticColorCount = 10;
constexpr UINT UpperStaticIndex = 246;

struct FirePaletteRecord {  // a LOGPALETTE with room for every entry
    WORD version;
    WORD count;
    PALETTEENTRY entries[256];
};

bool IsStaticIndex(int32_t i)
{
    return i < FireIndexBase || i >= FireIndexBase + FireColorCount;
}

}  // namespace

HPALETTE BuildFirePalette(FireColorRamp& ramp)
{
    // Black with no flags: on a display without a palette the platform
    // fills nothing in, and the statics stay black.
    FirePaletteRecord palette = {0x0300, 256, {}};
    HDC screen = GetDC(nullptr);
    GetSystemPaletteEntries(screen, 0, StaticColorCount, palette.entries);
    GetSystemPaletteEntries(screen, UpperStaticIndex, StaticColorCount,
                            palette.entries + UpperStaticIndex);
    ReleaseDC(nullptr, screen);
    for (int32_t i = 0; i < 256; ++i) {
        PALETTEENTRY& entry = palette.entries[i];
        FireColor& color = ramp.entries[i];
        if (IsStaticIndex(i)) {
            color = {entry.peRed, entry.peGreen, entry.peBlue};
            entry.peFlags = 0;
        } else {
            // Reserved, so that the display keeps these entries for us.
            entry = {color.red, color.green, color.blue, PC_RESERVED};
        }
    }
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&palette));
}

void BuildPictureFormat(FirePictureFormat& format, const FireColorRamp& ramp)
{
    format = {};
    format.header.biSize = sizeof(BITMAPINFOHEADER);
    format.header.biPlanes = 1;
    format.header.biBitCount = 8;
    format.header.biCompression = BI_RGB;
    for (int32_t i = 0; i < 256; ++i) {
        const FireColor& color = ramp.entries[i];
        format.colors[i] = {color.blue, color.green, color.red, 0};
    }
}

void PresentFire(HDC dc, const Fire& fire, FirePictureFormat& format, int32_t first)
{
    const int32_t width = fire.field.width, height = fire.field.height;
    const FramePlacement& place = fire.place;
    if (first < 0) first = 0;
    if (!fire.surface || width <= 0 || first >= height) return;
    const bool stretched = fire.settings.scaling != 0;
    if (stretched) first = 0;
    // The rows from first on, as a picture of their own: top-down pictures
    // are read from the top whatever the platform's source origin rules.
    format.header.biWidth = width;
    format.header.biHeight = -(height - first);
    const uint8_t* rows = fire.surface + static_cast<size_t>(first) * SurfaceStride(width);
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(&format);
    if (stretched) {
        StretchDIBits(dc, place.x, place.y, place.width, place.height, 0, 0, width, height, rows,
                      info, DIB_RGB_COLORS, SRCCOPY);
    } else {
        StretchDIBits(dc, place.x, place.y + first, place.width, place.height - first, 0, 0, width,
                      height - first, rows, info, DIB_RGB_COLORS, SRCCOPY);
    }
}
