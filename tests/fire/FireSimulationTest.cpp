#include <gtest/gtest.h>

#include <vector>

#include "fire/Fire.h"
#include "fire/FireColors.h"
#include "fire/FireFrameStep.h"

namespace {

// Exactly width x height bytes: the sanitizers see any access outside.
struct Grid {
    Grid(int32_t w, int32_t h, uint8_t v = 0) : width(w), height(h), cells(size_t(w) * h, v) {}
    uint8_t& At(int32_t y, int32_t x)
    {
        return cells[size_t(y) * size_t(width) + size_t(x)];
    }
    FireField Field(uint8_t* next = nullptr)
    {
        return FireField{width, height, next, cells.data()};
    }
    int32_t width, height;
    std::vector<uint8_t> cells;
};

std::vector<int32_t> HotColumns(Grid& grid, int32_t y)
{
    std::vector<int32_t> columns;
    for (int32_t x = 0; x < grid.width; ++x) {
        if (grid.At(y, x) != 0) columns.push_back(x);
    }
    return columns;
}

// The frames of a 640 x 480 fire at "Size" 4 that sow, seen as its
// generator moving on.
std::vector<int32_t> SowingFrames(int32_t newFire, int32_t frames)
{
    Fire fire;
    CreateFire(fire, {0, 0, 640, 480}, {4, 0, newFire, 8}, 1);
    std::vector<int32_t> sown;
    for (int32_t frame = 1; frame <= frames; ++frame) {
        const uint32_t before = fire.randomSeed;
        RunFireFrame(fire);
        if (fire.randomSeed != before) sown.push_back(frame);
    }
    EXPECT_EQ(fire.field.width * 1000 + fire.field.height, 160120);
    DestroyFire(fire);
    EXPECT_EQ(fire.field.current, nullptr);
    return sown;
}

TEST(FireSimulation, GeneratorSequenceAndSowingOnTheFirstFrameThenEveryNewFirePlusOne)
{
    uint32_t seed = 1;
    for (int32_t expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358}) {
        EXPECT_EQ(NextRandom(seed), expected);
    }
    EXPECT_EQ(SowingFrames(8, 30), (std::vector<int32_t>{1, 10, 19, 28}));
    EXPECT_EQ(SowingFrames(0, 5), (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(SowingFrames(-3, 1000), std::vector<int32_t>{1});
}

// The first draw from seed 1 is 41: r = 41 mod 158, p = 160 - 41.
TEST(FireSimulation, TheFirstHotSpotOfAWidth160Grid)
{
    Grid grid(160, 6);
    FireField field = grid.Field();
    uint32_t seed = 1;
    SeedFire(field, 160, seed);  // one spot
    EXPECT_EQ(HotColumns(grid, 5), (std::vector<int32_t>{118, 119}));
    EXPECT_EQ(HotColumns(grid, 4), (std::vector<int32_t>{119, 120}));
    EXPECT_EQ(grid.At(5, 118), HotSpotHeat);
}

// One frame step as the saver runs it, from src into a dest filled with 99.
Grid Spread(Grid& src)
{
    Grid dest(src.width, src.height, 99);
    std::vector<uint8_t> pixels(SurfaceStride(src.width) * src.height);
    FireField field = src.Field(dest.cells.data());
    StepFireFrame(FastestFireRows(), field, pixels.data());
    return dest;
}

TEST(FireSimulation, SpreadingGivesALoneHotCellARingOneRowHigherAndCoolsByOne)
{
    Grid src(10, 9);
    src.At(5, 4) = HotSpotHeat;
    Grid dest = Spread(src);
    for (int32_t y = 0; y < 7; ++y) {
        for (int32_t x = 1; x < 9; ++x) {
            const bool ring = y >= 3 && y <= 5 && x >= 3 && x <= 5 && !(y == 4 && x == 4);
            EXPECT_EQ(dest.At(y, x), ring ? 28 : 0) << y << "," << x;
        }
    }
    // Inside: v - 1; the row above the bottom has three cold neighbours of eight.
    const int rows[][3] = {{0, 0, 0}, {1, 0, 0}, {100, 99, 61}, {235, 234, 145}};
    for (const auto& row : rows) {
        Grid warm(7, 5, uint8_t(row[0]));
        Grid cooled = Spread(warm);
        for (int32_t y = 0; y < 5; ++y) {
            for (int32_t x = 0; x < 7; ++x) {
                const int expected = x == 0 || x == 6 || y == 4 ? 99 : y == 3 ? row[2] : row[1];
                EXPECT_EQ(cooled.At(y, x), expected) << row[0] << " at " << y << "," << x;
            }
        }
    }
}

}  // namespace
