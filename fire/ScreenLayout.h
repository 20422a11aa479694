// Where the full-screen window and the fires go on a desktop of one or more
// monitors, as plain arithmetic: every host places its fires from it.
#pragma once
#include <cstdint>

struct ScreenRect {
    int32_t left, top, right, bottom;
};

struct FramePlacement {
    int32_t x, y, width, height;
};

// The most fires a host burns at once: one a monitor.
constexpr int32_t MaxFires = 16;

// A fire's area and the seed of its generator.
struct FireArea {
    ScreenRect area;
    uint32_t seed;
};

struct SaverLayout {
    ScreenRect window;         // screen coordinates: every monitor
    FireArea fires[MaxFires];  // client coordinates: one a monitor
    int32_t fireCount;
};

// The full-screen window over monitors (screen coordinates; monitors[primary]
// is the primary) and virtualScreen, their union as the platform reports it
// (empty where it has no such metrics; its left and top may be negative).
// Every monitor gets a fire of its own: the primary seed 1, the others,
// taken by their left edge, then their top edge, seeds 2, 3, and so on. A
// monitor with no area, or with the rectangle of one before it (a mirror),
// gets none; past MaxFires, none either.
SaverLayout LayOutFullScreen(const ScreenRect& virtualScreen, const ScreenRect* monitors,
                             int32_t count, int32_t primary);

// The seed that LayOutFullScreen gives the monitor that area overlaps most;
// 1 when it overlaps none.
uint32_t MonitorSeed(const ScreenRect* monitors, int32_t count, int32_t primary,
                     const ScreenRect& area);

// Where a gridWidth x gridHeight picture is drawn in area: centred at its
// own size, the odd pixel to the right and below, or stretched over it.
FramePlacement PlaceFrame(const ScreenRect& area, int32_t gridWidth, int32_t gridHeight,
                          int32_t size, int32_t scaling);
