// The picture a fire window should show, pixel by pixel, from the grid the
// last frame computed: for the X11 tests and the picture checker.
#pragma once
#include "fire/FireColors.h"
#include "fire/FireSettings.h"
#include "fire/ScreenLayout.h"

struct FirePicture {
    int32_t width, height, gridWidth, gridHeight, scaling;  // window and grid sizes
    FramePlacement place;
    FireColorRamp ramp;
};

// A width x height window with the fire in area (its primary monitor, or all of it).
FirePicture LayOutFirePicture(int32_t width, int32_t height, const ScreenRect& area,
                              const FireSettingsRecord& settings);

// 0xRRGGBB at (x, y): black outside the placed frame; inside, the ramp's
// colour of the cell + FireIndexBase. Stretched, pixel (x, y) of the frame
// shows cell (x * gridWidth / frame width, y * gridHeight / frame height),
// rounded down.
uint32_t ExpectedPixel(const FirePicture& picture, const uint8_t* grid, int32_t x, int32_t y);
