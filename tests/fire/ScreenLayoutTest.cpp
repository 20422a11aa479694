// The full-screen window over every monitor and the fire on the primary one,
// for real desktop layouts. Screen coordinates put the primary's top-left at
// (0, 0); the fire and the picture are in the window's client coordinates.
#include <gtest/gtest.h>

#include <array>

#include "fire/ScreenLayout.h"

namespace {

struct LayoutRow {
    const char* name;
    ScreenRect virtualScreen, primary;
    ScreenRect window, fire;
    FramePlacement picture;  // "Size" 4, not stretched
};

const LayoutRow Layouts[] = {
    {"one monitor",
     {0, 0, 1024, 768},
     {0, 0, 1024, 768},
     {0, 0, 1024, 768},
     {0, 0, 1024, 768},
     {384, 288, 256, 192}},
    {"no virtual-screen metrics",
     {0, 0, 0, 0},
     {0, 0, 640, 480},
     {0, 0, 640, 480},
     {0, 0, 640, 480},
     {240, 180, 160, 120}},
    {"primary left of a second",
     {0, 0, 3840, 1080},
     {0, 0, 1920, 1080},
     {0, 0, 3840, 1080},
     {0, 0, 1920, 1080},
     {720, 405, 480, 270}},
    {"primary right of a smaller second",
     {-1280, 0, 1920, 1080},
     {0, 0, 1920, 1080},
     {-1280, 0, 1920, 1080},
     {1280, 0, 3200, 1080},
     {2000, 405, 480, 270}},
    {"second above",
     {0, -768, 1024, 768},
     {0, 0, 1024, 768},
     {0, -768, 1024, 768},
     {0, 768, 1024, 1536},
     {384, 1056, 256, 192}},
    {"second below",
     {0, 0, 1024, 1536},
     {0, 0, 1024, 768},
     {0, 0, 1024, 1536},
     {0, 0, 1024, 768},
     {384, 288, 256, 192}},
    {"taller second right, tops apart",
     {0, -176, 3200, 1024},
     {0, 0, 1280, 1024},
     {0, -176, 3200, 1024},
     {0, 176, 1280, 1200},
     {480, 560, 320, 256}},
    {"three, primary in the middle",
     {-1024, 0, 3200, 1080},
     {0, 0, 1920, 1080},
     {-1024, 0, 3200, 1080},
     {1024, 0, 2944, 1080},
     {1744, 405, 480, 270}},
    {"second above and left",
     {-1600, -900, 1920, 1080},
     {0, 0, 1920, 1080},
     {-1600, -900, 1920, 1080},
     {1600, 900, 3520, 1980},
     {2320, 1305, 480, 270}},
    {"two Xvfb screens at the origin",
     {0, 0, 1280, 1024},
     {0, 0, 1024, 768},
     {0, 0, 1280, 1024},
     {0, 0, 1024, 768},
     {384, 288, 256, 192}},
};

typedef std::array<int32_t, 4> Four;
Four Corners(const ScreenRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}
Four Extent(const FramePlacement& p)
{
    return {p.x, p.y, p.width, p.height};
}

TEST(ScreenLayout, WindowCoversEveryMonitorAndTheFireThePrimary)
{
    for (const LayoutRow& row : Layouts) {
        SCOPED_TRACE(row.name);
        const SaverLayout layout = LayOutFullScreen(row.virtualScreen, row.primary);
        EXPECT_EQ(Corners(layout.window), Corners(row.window));
        EXPECT_EQ(Corners(layout.fire), Corners(row.fire));

        const ScreenRect& fire = layout.fire;
        const int32_t width = fire.right - fire.left, height = fire.bottom - fire.top;
        EXPECT_EQ(Extent(PlaceFrame(fire, width / 4, height / 4, 4, 0)), Extent(row.picture));
        EXPECT_EQ(Extent(PlaceFrame(fire, width / 4, height / 4, 4, 1)),
                  Four({fire.left, fire.top, width, height}));
    }
}

}  // namespace
