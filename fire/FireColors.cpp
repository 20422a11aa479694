#include "fire/FireColors.h"

#include <cstddef>
#include <cstring>

#include "fire/FireFrameStep.h"
#include "fire/FireSettings.h"

FirePaletteRecord FirePalette = {0x0300, 256, {}};

void BuildFireColorRamp(FireColorRamp& ramp)
{
    std::memset(&ramp, 0, sizeof ramp);
    RampColor* const entry = ramp.entries;
    // Each band climbs 0, 8, ..., 248 in one channel; 8 * i - 80 wraps to 0
    // at the start of the next band.
    for (int32_t i = 10; i <= 41; ++i) {
        entry[i].red = static_cast<uint8_t>(8 * i - 80);
    }
    for (int32_t i = 42; i <= 73; ++i) {
        entry[i].red = 255;
        entry[i].green = static_cast<uint8_t>(8 * i - 80);
    }
    for (int32_t i = 74; i <= 105; ++i) {
        entry[i].red = 255;
        entry[i].green = 255;
        entry[i].blue = static_cast<uint8_t>(8 * i - 80);
    }
    for (int32_t i = 106; i <= 245; ++i) {
        entry[i].red = 255;
        entry[i].green = 255;
        entry[i].blue = 255;
    }
}

namespace {

void CopyToRamp(RampColor& to, const PaletteColor& from)
{
    to.red = from.red;
    to.green = from.green;
    to.blue = from.blue;
}

}  // namespace

void MergeFirePalette(FireColorRamp& ramp, FirePaletteRecord& palette, int32_t fireCount)
{
    RampColor* const table = ramp.entries;
    PaletteColor* const entry = palette.entries;
    // More than FireColorCount would write fire colours over the static
    // entries from 246 on, and past the end of both records.
    const int32_t count = fireCount < 0                ? 0
                          : fireCount > FireColorCount ? FireColorCount
                                                       : fireCount;

    for (int32_t i = 0; i < FireIndexBase; ++i) {
        CopyToRamp(table[i], entry[i]);
        entry[i].flags = 0;
    }
    const int32_t fireEnd = FireIndexBase + count;
    for (int32_t i = FireIndexBase; i < fireEnd; ++i) {
        entry[i].red = table[i].red;
        entry[i].green = table[i].green;
        entry[i].blue = table[i].blue;
        entry[i].flags = PaletteReservedFlag;
    }
    // Fire entries that the count leaves out keep the palette's colour.
    for (int32_t i = fireEnd; i < FireIndexBase + FireColorCount; ++i) {
        CopyToRamp(table[i], entry[i]);
        entry[i].flags = PaletteReservedFlag;
    }
    for (int32_t i = FireIndexBase + FireColorCount; i < 256; ++i) {
        CopyToRamp(table[i], entry[i]);
        entry[i].flags = 0;
    }
}

int32_t SurfaceStride(int32_t width)
{
    return width <= 0 ? 0 : (width + 3) & ~3;
}

void CopyToSurface(uint8_t* pixels, const uint8_t* grid, int32_t width, int32_t height)
{
    CopyToSurfaceWith(FastestFireRows(), pixels, grid, width, height);
}

FramePlacement PlaceCentredFrame(int32_t right, int32_t bottom, int32_t gridWidth,
                                 int32_t gridHeight, int32_t size)
{
    const int32_t divisor = FireGridDivisor(size);
    FramePlacement placement;
    placement.x = (right - gridWidth) / 2;
    placement.y = (bottom - gridHeight) / 2;
    placement.width = right / divisor;
    placement.height = bottom / divisor;
    return placement;
}
