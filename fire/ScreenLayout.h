// Where the full-screen window and the fire go on a desktop of one or more
// monitors, as plain arithmetic: every host places its fires from it.
#pragma once
#include <cstdint>

struct ScreenRect {
    int32_t left, top, right, bottom;
};

struct FramePlacement {
    int32_t x, y, width, height;
};

struct SaverLayout {
    ScreenRect window;  // screen coordinates: every monitor
    ScreenRect fire;    // client coordinates: the primary monitor
};

// virtualScreen is the union of all monitors (its left and top may be
// negative); empty where the platform has no such metrics.
SaverLayout LayOutFullScreen(const ScreenRect& virtualScreen, const ScreenRect& primary);

// Where a gridWidth x gridHeight picture is drawn in area: centred at its
// own size, the odd pixel to the right and below, or stretched over it.
FramePlacement PlaceFrame(const ScreenRect& area, int32_t gridWidth, int32_t gridHeight,
                          int32_t size, int32_t scaling);
