// The picture: its colours, and where it goes on one monitor or several.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

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

// Screen coordinates put the primary's top-left at (0, 0); the fires are in
// the window's client coordinates, seeds 1, 2, ... in their order.
struct LayoutRow {
    const char* name;
    ScreenRect virtualScreen;
    std::vector<ScreenRect> monitors;  // the first is the primary
    ScreenRect window;
    std::vector<ScreenRect> fires;
};

const LayoutRow Layouts[] = {
    {"one monitor", {0, 0, 1024, 768}, {{0, 0, 1024, 768}}, {0, 0, 1024, 768}, {{0, 0, 1024, 768}}},
    {"no virtual-screen metrics",
     {0, 0, 0, 0},
     {{0, 0, 640, 480}},
     {0, 0, 640, 480},
     {{0, 0, 640, 480}}},
    {"taller second right, tops apart",
     {0, -176, 3200, 1024},
     {{0, 0, 1280, 1024}, {1280, -176, 3200, 904}},
     {0, -176, 3200, 1024},
     {{0, 176, 1280, 1200}, {1280, 0, 3200, 1080}}},
    {"three, primary in the middle",
     {-1024, 0, 3200, 1080},
     {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}, {-1024, 0, 0, 768}},
     {-1024, 0, 3200, 1080},
     {{1024, 0, 2944, 1080}, {0, 0, 1024, 768}, {2944, 0, 4224, 1024}}},
    {"second above and left",
     {-1600, -900, 1920, 1080},
     {{0, 0, 1920, 1080}, {-1600, -900, 0, 0}},
     {-1600, -900, 1920, 1080},
     {{1600, 900, 3520, 1980}, {0, 0, 1600, 900}}},
    {"a mirror and an empty one get none",
     {0, 0, 0, 0},
     {{0, 0, 1024, 768}, {1024, 0, 1024, 768}, {0, 0, 1024, 768}, {1024, 0, 2304, 1024}},
     {0, 0, 2304, 1024},
     {{0, 0, 1024, 768}, {1024, 0, 2304, 1024}}},
    {"left edges alike: the higher first",
     {0, 0, 1600, 1200},
     {{0, 0, 800, 600}, {800, 600, 1600, 1200}, {800, 0, 1600, 600}},
     {0, 0, 1600, 1200},
     {{0, 0, 800, 600}, {800, 0, 1600, 600}, {800, 600, 1600, 1200}}},
};

typedef std::array<int32_t, 4> Four;
Four Corners(const ScreenRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

TEST(ScreenLayout, WindowCoversEveryMonitorAndEachGetsAFireAndASeed)
{
    for (const LayoutRow& row : Layouts) {
        SCOPED_TRACE(row.name);
        const int32_t count = int32_t(row.monitors.size());
        const SaverLayout layout =
            LayOutFullScreen(row.virtualScreen, row.monitors.data(), count, 0);
        EXPECT_EQ(Corners(layout.window), Corners(row.window));
        ASSERT_EQ(layout.fireCount, int32_t(row.fires.size()));
        for (int32_t k = 0; k < layout.fireCount; ++k) {
            EXPECT_EQ(Corners(layout.fires[k].area), Corners(row.fires[k])) << k;
            EXPECT_EQ(layout.fires[k].seed, uint32_t(k + 1));
        }
    }
    // The daemon's window on a monitor takes that monitor's seed; on none, 1.
    const std::vector<ScreenRect>& three = Layouts[3].monitors;
    const std::pair<ScreenRect, uint32_t> windows[] = {{{-1024, 0, 0, 768}, 2},
                                                       {{1920, 0, 3200, 1024}, 3},
                                                       {{1700, 0, 2000, 100}, 1},
                                                       {{1900, 0, 2100, 100}, 3},
                                                       {{5000, 0, 5100, 100}, 1}};
    for (const auto& [window, seed] : windows)
        EXPECT_EQ(MonitorSeed(three.data(), 3, 0, window), seed) << window.left;
}

}  // namespace
