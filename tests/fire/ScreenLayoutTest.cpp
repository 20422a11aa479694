// Where the window and the fires go on one monitor or several.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "fire/ScreenLayout.h"

namespace {

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
    const std::vector<ScreenRect>& three = Layouts[1].monitors;
    const std::pair<ScreenRect, uint32_t> windows[] = {{{-1024, 0, 0, 768}, 2},
                                                       {{1920, 0, 3200, 1024}, 3},
                                                       {{1700, 0, 2000, 100}, 1},
                                                       {{1900, 0, 2100, 100}, 3},
                                                       {{5000, 0, 5100, 100}, 1}};
    for (const auto& [window, seed] : windows)
        EXPECT_EQ(MonitorSeed(three.data(), 3, 0, window), seed) << window.left;
}

}  // namespace
