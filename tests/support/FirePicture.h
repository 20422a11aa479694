// What a window with fires should show, pixel by pixel, from the plain
// reference fire (bench/ReferenceFire): for the tests that read a saver's or
// a hack's screen back, and the picture checker.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bench/ReferenceFire.h"
#include "fire/ScreenLayout.h"

// One fire as the tests expect it: where its picture lies in the image and
// its grid, worked out by hand; stretched when the two sizes differ, pixel
// (x, y) of the picture showing cell (x * gridWidth / width, y * gridHeight /
// height), rounded down.
struct ExpectedFire {
    FramePlacement place;
    int32_t gridWidth, gridHeight;
    uint32_t seed;
};

// A reference fire frame by frame, from cold grids and its seed.
struct ReferenceFire {
    ExpectedFire expected;
    int32_t fireType, newFire;
    std::vector<uint8_t> next, current, pixels;
    FireField field;
    ReferenceClock clock;
};
void StartReferenceFire(ReferenceFire& fire, const ExpectedFire& expected, int32_t fireType,
                        int32_t newFire);
void RunReferenceFire(ReferenceFire& fire);

// 0xRRGGBB of heat: black, then red, yellow and white bands of 32.
uint32_t HeatColor(uint8_t heat);

// 0xRRGGBB that fire's last frame shows at image pixel (x, y); black
// outside its picture.
uint32_t ExpectedPixel(const ReferenceFire& fire, int32_t x, int32_t y);

// Whether image (0xRRGGBB, width pixels a row) shows fire's last frame
// inside its picture.
bool ShowsFire(const std::vector<uint32_t>& image, int32_t width, const ReferenceFire& fire);

// Which of the first frames of expected, started afresh, image shows inside
// its picture; 0 when none.
int32_t FrameShown(const std::vector<uint32_t>& image, int32_t width, const ExpectedFire& expected,
                   int32_t fireType, int32_t newFire, int32_t frames);

// Whether image is black everywhere outside the pictures of fires.
bool BlackAround(const std::vector<uint32_t>& image, int32_t width,
                 const std::vector<ExpectedFire>& fires);
