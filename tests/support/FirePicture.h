// The picture a fire window should show, pixel by pixel, from the grid the
// last frame computed: for the X11 tests and the picture checker.
#pragma once
#include <cstdint>

#include "fire/FireColors.h"
#include "fire/FireSettings.h"
#include "fire/ScreenLayout.h"

struct FirePicture {
    int32_t width, height;          // the whole window
    int32_t gridWidth, gridHeight;  // area size / divisor, as the saver sizes it
    int32_t scaling;
    FramePlacement place;
    FireColorRamp ramp;
};

// The fire in area (the window's primary monitor, or all of it).
FirePicture LayOutFirePicture(int32_t width, int32_t height, const ScreenRect& area,
                              const FireSettingsRecord& settings);

// 0xRRGGBB at (x, y): black outside the placed frame; inside, the ramp's
// colour of the grid cell + FireIndexBase. Stretched, pixel (x, y) of the
// frame shows cell (x * gridWidth / frame width, y * gridHeight / frame
// height), rounded down.
uint32_t ExpectedPixel(const FirePicture& picture, const uint8_t* grid, int32_t x, int32_t y);
