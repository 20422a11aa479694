// The fire's colours: heat h is shown as palette index h + FireIndexBase.
#pragma once
#include <cstdint>

constexpr int32_t FireIndexBase = 10;    // palette index of heat 0
constexpr int32_t FireColorCount = 236;  // fire colours, indices 10..245

struct FireColor {
    uint8_t red, green, blue;
};

// Indices 0..9 and 246..255 are left black: a host with a display palette
// puts the display's own colours there.
struct FireColorRamp {
    FireColor entries[256];
};

// Black, then red, yellow and white ramps over indices 10..245.
void BuildFireColorRamp(FireColorRamp& ramp);

// Bytes per row of a fire's picture: width rounded up to a multiple of 4,
// the row alignment of the images hosts hand to their platforms.
int32_t SurfaceStride(int32_t width);
