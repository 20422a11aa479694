#include "fire/FireColors.h"

#include <cstring>

void BuildFireColorRamp(FireColorRamp& ramp)
{
    std::memset(&ramp, 0, sizeof ramp);
    FireColor* const entry = ramp.entries;
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

int32_t SurfaceStride(int32_t width)
{
    return width <= 0 ? 0 : (width + 3) & ~3;
}
