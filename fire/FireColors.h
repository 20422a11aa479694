// The fire's colours and the per-frame copy, as plain arithmetic: the GDI
// layer (FrameSurface) hands these records to the platform unchanged.
#pragma once
#include <cstdint>

constexpr int32_t FireIndexBase = 10;          // palette index of heat 0
constexpr int32_t FireColorCount = 236;        // fire colours, indices 10..245
constexpr uint8_t PaletteReservedFlag = 0x01;  // PC_RESERVED

// One colour-table entry in RGBQUAD order.
struct RampColor {
    uint8_t blue, green, red, reserved;
};

// One palette entry in PALETTEENTRY order.
struct PaletteColor {
    uint8_t red, green, blue, flags;
};

struct FireColorRamp {
    RampColor entries[256];
};
static_assert(sizeof(RampColor) == 4, "RGBQUAD layout");
static_assert(sizeof(PaletteColor) == 4, "PALETTEENTRY layout");
static_assert(sizeof(FireColorRamp) == 1024, "colour table layout");

// LOGPALETTE layout with room for 256 entries.
struct FirePaletteRecord {
    uint16_t version;  // 0x0300
    uint16_t count;    // 256
    PaletteColor entries[256];
};
static_assert(sizeof(FirePaletteRecord) == 4 + 1024, "LOGPALETTE layout");

// Version 0x0300, count 256, every entry black with no flags at start.
extern FirePaletteRecord FirePalette;

// Black, then red, yellow and white ramps over indices 10..245.
void BuildFireColorRamp(FireColorRamp& ramp);

// The platform-free half of BuildFirePalette: with FirePalette's static
// entries 0..9 and 246..255 already filled from the display, makes ramp and
// palette agree on all 256 colours and sets the flags. fireCount is taken
// within 0..FireColorCount, so the static entries are never overwritten.
void MergeFirePalette(FireColorRamp& ramp, FirePaletteRecord& palette, int32_t fireCount);

// Bytes per surface row: width rounded up to a multiple of 4.
int32_t SurfaceStride(int32_t width);

// Surface row y, bytes 0..width-1 = grid row y + FireIndexBase, each byte
// modulo 256 on its own; padding kept.
void CopyToSurface(uint8_t* pixels, const uint8_t* grid, int32_t width, int32_t height);

// Where an unscaled frame goes in a client area of right x bottom pixels;
// size is taken through FireGridDivisor, as when the grid was sized.
struct FramePlacement {
    int32_t x, y, width, height;
};
FramePlacement PlaceCentredFrame(int32_t right, int32_t bottom, int32_t gridWidth,
                                 int32_t gridHeight, int32_t size);
