#include <gtest/gtest.h>

#include <cstring>

#include "fire/FireColors.h"

namespace {

// Packs red, green and blue as 0xRRGGBB, for readable expectations.
uint32_t Rgb(const RampColor& c)
{
    return uint32_t(c.red) << 16 | c.green << 8 | c.blue;
}
uint32_t Rgb(const PaletteColor& c)
{
    return uint32_t(c.red) << 16 | c.green << 8 | c.blue;
}

// Made-up display colours (with stray flags) for the static entries.
FirePaletteRecord PaletteWithStaticColours()
{
    FirePaletteRecord palette = FirePalette;
    for (int i = 0; i < 256; ++i) {
        if (i < 10 || i >= 246) palette.entries[i] = {uint8_t(i), uint8_t(i / 2), 7, 0xFF};
    }
    return palette;
}

TEST(FireColors, RampAndPaletteHoldBlackRedYellowWhiteBetweenStaticColours)
{
    EXPECT_EQ(FirePalette.version, 0x0300);
    EXPECT_EQ(FirePalette.count, 256);
    for (int32_t count : {-1, 0, 100, 236, 237, 1000}) {
        FireColorRamp ramp;
        std::memset(&ramp, 0x55, sizeof ramp);
        BuildFireColorRamp(ramp);
        const FireColorRamp built = ramp;
        FirePaletteRecord palette = PaletteWithStaticColours();
        MergeFirePalette(ramp, palette, count);
        const int fireEnd = 10 + (count < 0 ? 0 : count > 236 ? 236 : count);
        for (int i = 0; i < 256; ++i) {
            const bool isStatic = i < 10 || i >= 246;
            EXPECT_EQ(palette.entries[i].flags, isStatic ? 0 : PaletteReservedFlag) << i;
            EXPECT_EQ(Rgb(ramp.entries[i]), Rgb(palette.entries[i])) << count << ": " << i;
            EXPECT_EQ(ramp.entries[i].reserved, 0) << i;
            if (isStatic) {
                EXPECT_EQ(Rgb(palette.entries[i]), uint32_t(i << 16 | (i / 2) << 8 | 7)) << i;
            } else if (i >= fireEnd) {
                EXPECT_EQ(Rgb(palette.entries[i]), 0u) << count << ": " << i;  // left out
            } else {
                EXPECT_EQ(Rgb(palette.entries[i]), Rgb(built.entries[i])) << i;
            }
        }
    }
    FireColorRamp ramp;
    BuildFireColorRamp(ramp);
    const struct {
        int index;
        uint32_t rgb;
    } fire[] = {{0, 0},          {10, 0},         {11, 0x080000}, {41, 0xF80000},
                {42, 0xFF0000},  {73, 0xFFF800},  {74, 0xFFFF00}, {105, 0xFFFFF8},
                {106, 0xFFFFFF}, {245, 0xFFFFFF}, {255, 0}};
    for (const auto& f : fire) EXPECT_EQ(Rgb(ramp.entries[f.index]), f.rgb) << f.index;
}

TEST(FireColors, UnscaledFrameIsCentredWithTheOddPixelRightAndBelow)
{
    const struct {
        int32_t right, bottom, size, x, y, width, height;
    } cases[] = {
        {152, 112, 4, 57, 42, 38, 28},
        {1024, 768, 4, 384, 288, 256, 192},
        {800, 600, 8, 350, 262, 100, 75},
        {800, 600, 0, 300, 225, 200, 150},  // a hand-edited "Size" of 0 counts as 4
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SurfaceStride(c.width) % 4, 0);  // DIB rows are whole double words
        EXPECT_LT(SurfaceStride(c.width) - c.width, 4);
        const FramePlacement p = PlaceCentredFrame(c.right, c.bottom, c.width, c.height, c.size);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
    }
}

}  // namespace
