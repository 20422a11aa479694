// The picture: its colours, and where it goes on one monitor or several.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "fire/FireColors.h"
#include "fire/ScreenLayout.h"

namespace {

TEST(FireColors, RampHoldsBlackRedYellowWhiteBetweenBlackStaticColours)
{
    FireColorRamp ramp;
    BuildFireColorRamp(ramp);
    const struct {
        int index;
        uint32_t rgb;
    } fire[] = {{0, 0},          {10, 0},         {11, 0x080000}, {41, 0xF80000},
                {42, 0xFF0000},  {73, 0xFFF800},  {74, 0xFFFF00}, {105, 0xFFFFF8},
                {106, 0xFFFFFF}, {245, 0xFFFFFF}, {255, 0}};
    for (const auto& f : fire) {
        const FireColor& c = ramp.entries[f.index];
        EXPECT_EQ(uint32_t(c.red) << 16 | c.green << 8 | c.blue, f.rgb) << f.index;
    }
}

TEST(FireColors, UnscaledFrameIsCentredWithTheOddPixelRightAndBelow)
{
    const int32_t cases[][8] = {
        // right, bottom, size; x, y, width, height, stride
        {152, 112, 4, 57, 42, 38, 28, 40},
        {800, 600, 8, 350, 262, 100, 75, 100},
        {800, 600, 0, 300, 225, 200, 150, 200},  // a hand-edited "Size" of 0 counts as 4
        {20, 20, 4, 7, 7, 5, 5, 8},
    };
    for (const auto& c : cases) {
        const FramePlacement p = PlaceFrame({0, 0, c[0], c[1]}, c[5], c[6], c[2], 0);
        const int32_t got[] = {p.x, p.y, p.width, p.height, SurfaceStride(c[5])};
        EXPECT_TRUE(std::equal(got, got + 5, c + 3)) << c[0] << "x" << c[1] << " / " << c[2];
    }
}

// Screen coordinates put the primary's top-left at (0, 0); the fire and the
// picture ("Size" 4, centred) are in the window's client coordinates.
struct LayoutRow {
    const char* name;
    ScreenRect virtualScreen, primary, window, fire;
    FramePlacement picture;
};

const LayoutRow Layouts[] = {
    // clang-format off
    {"one monitor", {0, 0, 1024, 768}, {0, 0, 1024, 768},
     {0, 0, 1024, 768}, {0, 0, 1024, 768}, {384, 288, 256, 192}},
    {"no virtual-screen metrics", {0, 0, 0, 0}, {0, 0, 640, 480},
     {0, 0, 640, 480}, {0, 0, 640, 480}, {240, 180, 160, 120}},
    {"taller second right, tops apart", {0, -176, 3200, 1024}, {0, 0, 1280, 1024},
     {0, -176, 3200, 1024}, {0, 176, 1280, 1200}, {480, 560, 320, 256}},
    {"three, primary in the middle", {-1024, 0, 3200, 1080}, {0, 0, 1920, 1080},
     {-1024, 0, 3200, 1080}, {1024, 0, 2944, 1080}, {1744, 405, 480, 270}},
    {"second above and left", {-1600, -900, 1920, 1080}, {0, 0, 1920, 1080},
     {-1600, -900, 1920, 1080}, {1600, 900, 3520, 1980}, {2320, 1305, 480, 270}},
    {"two Xvfb screens at the origin", {0, 0, 1280, 1024}, {0, 0, 1024, 768},
     {0, 0, 1280, 1024}, {0, 0, 1024, 768}, {384, 288, 256, 192}},
    // clang-format on
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
        const ScreenRect& fire = row.fire;
        const int32_t width = fire.right - fire.left, height = fire.bottom - fire.top;
        EXPECT_EQ(Extent(PlaceFrame(fire, width / 4, height / 4, 4, 0)), Extent(row.picture));
        EXPECT_EQ(Extent(PlaceFrame(fire, width / 4, height / 4, 4, 1)),
                  Four({fire.left, fire.top, width, height}));
    }
}

}  // namespace
