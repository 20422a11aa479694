#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "fire/FireColors.h"

namespace {

struct Rgb {
    int red, green, blue;
};

Rgb RampAt(const FireColorRamp& ramp, int i) {
    const RampColor& c = ramp.entries[i];
    return {c.red, c.green, c.blue};
}

Rgb PaletteAt(const FirePaletteRecord& palette, int i) {
    const PaletteColor& c = palette.entries[i];
    return {c.red, c.green, c.blue};
}

bool operator==(const Rgb& a, const Rgb& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

void PrintTo(const Rgb& c, std::ostream* out) {
    *out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

// Made-up display colours for the static entries.
Rgb StaticColour(int i) {
    return {i, i / 2, 255 - i};
}

// A palette whose static entries hold those colours and stray flags.
FirePaletteRecord PaletteWithStaticColours() {
    FirePaletteRecord palette = FirePalette;
    for (int i = 0; i < 256; ++i) {
        if (i < 10 || i >= 246) {
            const Rgb c = StaticColour(i);
            palette.entries[i] = {uint8_t(c.red), uint8_t(c.green), uint8_t(c.blue), 0xFF};
        }
    }
    return palette;
}

TEST(FireColors, PaletteRecordStartsEmpty) {
    EXPECT_EQ(FirePalette.version, 0x0300);
    EXPECT_EQ(FirePalette.count, 256);
    for (const PaletteColor& c : FirePalette.entries) {
        EXPECT_TRUE(c.red == 0 && c.green == 0 && c.blue == 0 && c.flags == 0);
    }
}

TEST(FireColors, RampAndPaletteHoldBlackRedYellowWhiteBetweenStaticColours) {
    FireColorRamp ramp;
    std::memset(&ramp, 0x55, sizeof ramp);
    BuildFireColorRamp(ramp);
    EXPECT_EQ(RampAt(ramp, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(RampAt(ramp, 255), (Rgb{0, 0, 0}));

    FirePaletteRecord palette = PaletteWithStaticColours();
    MergeFirePalette(ramp, palette, FireColorCount);
    const struct {
        int index;
        Rgb colour;
    } fire[] = {{10, {0, 0, 0}},     {11, {8, 0, 0}},       {41, {248, 0, 0}},
                {42, {255, 0, 0}},   {73, {255, 248, 0}},   {74, {255, 255, 0}},
                {105, {255, 255, 248}}, {106, {255, 255, 255}}, {245, {255, 255, 255}}};
    for (const auto& f : fire) EXPECT_EQ(PaletteAt(palette, f.index), f.colour) << f.index;
    for (int i = 0; i < 256; ++i) {
        const bool isStatic = i < 10 || i >= 246;
        EXPECT_EQ(palette.entries[i].flags, isStatic ? 0 : PaletteReservedFlag) << i;
        EXPECT_EQ(RampAt(ramp, i), PaletteAt(palette, i)) << i;
        EXPECT_EQ(ramp.entries[i].reserved, 0) << i;
        if (i >= 106 && i < 246) {
            EXPECT_EQ(RampAt(ramp, i), (Rgb{255, 255, 255}));
        }
        if (isStatic) {
            EXPECT_EQ(RampAt(ramp, i), StaticColour(i));
        }
    }
}

TEST(FireColors, FireCountOutsideItsRangeNeverReachesTheStaticColours) {
    for (int32_t count : {-1, 0, 100, 237, 1000}) {
        FireColorRamp ramp;
        BuildFireColorRamp(ramp);
        FirePaletteRecord palette = PaletteWithStaticColours();
        MergeFirePalette(ramp, palette, count);
        const int fireEnd = 10 + (count < 0 ? 0 : count > 236 ? 236 : count);
        for (int i = 10; i < 246; ++i) {
            // Left-out fire entries take the palette's colour, black here.
            const Rgb expected = i < fireEnd ? RampAt(ramp, i) : Rgb{0, 0, 0};
            EXPECT_EQ(PaletteAt(palette, i), expected) << count << ": " << i;
            EXPECT_EQ(palette.entries[i].flags, PaletteReservedFlag);
        }
        for (int i = 246; i < 256; ++i) {
            EXPECT_EQ(PaletteAt(palette, i), StaticColour(i)) << count << ": " << i;
            EXPECT_EQ(palette.entries[i].flags, 0);
        }
    }
}

TEST(FireColors, CopyAddsTheIndexBaseAndLeavesRowPaddingAlone) {
    const int32_t w = 38, h = 28;
    EXPECT_EQ(SurfaceStride(w), 40);
    std::vector<uint8_t> grid(w * h), surface(40 * h, 0xEE);
    for (int32_t i = 0; i < w * h; ++i) grid[i] = uint8_t(i % 236);
    grid[0] = 0;
    grid[1] = 235;
    CopyToSurface(surface.data(), grid.data(), w, h);
    EXPECT_EQ(surface[0], 10);
    EXPECT_EQ(surface[1], 245);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            const int expected = x < w ? grid[y * w + x] + 10 : 0xEE;
            ASSERT_EQ(surface[y * 40 + x], expected) << y << "," << x;
        }
    }
}

TEST(FireColors, ATinyGridWritesExactlyItsOwnBytes) {
    EXPECT_EQ(SurfaceStride(3), 4);
    EXPECT_EQ(SurfaceStride(0), 0);
    const uint8_t grid[3] = {0, 100, 235};
    uint8_t surface[8];
    std::memset(surface, 0xEE, sizeof surface);
    CopyToSurface(surface, grid, 3, 1);
    const uint8_t expected[8] = {10, 110, 245, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(std::memcmp(surface, expected, sizeof surface), 0);
}

TEST(FireColors, UnscaledFrameIsCentredWithTheOddPixelRightAndBelow) {
    const struct {
        int32_t right, bottom, size, x, y, width, height;
    } cases[] = {
        {152, 112, 4, 57, 42, 38, 28},
        {1024, 768, 4, 384, 288, 256, 192},
        {800, 600, 8, 350, 262, 100, 75},
        {800, 600, 0, 300, 225, 200, 150},  // a hand-edited "Size" of 0 counts as 4
    };
    for (const auto& c : cases) {
        const int32_t divisor = c.size < 1 ? 4 : c.size;
        const FramePlacement p =
            PlaceCentredFrame(c.right, c.bottom, c.right / divisor, c.bottom / divisor, c.size);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
    }
}

}  // namespace
