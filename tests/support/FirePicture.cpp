#include "support/FirePicture.h"

void StartReferenceFire(ReferenceFire& fire, const ExpectedFire& expected, int32_t fireType,
                        int32_t newFire)
{
    fire.expected = expected;
    fire.fireType = fireType;
    fire.newFire = newFire;
    const size_t cells = size_t(expected.gridWidth) * size_t(expected.gridHeight);
    fire.next.assign(cells, 0);
    fire.current.assign(cells, 0);
    fire.pixels.assign(size_t((expected.gridWidth + 3) / 4 * 4) * expected.gridHeight, 0);
    fire.field = {expected.gridWidth, expected.gridHeight, fire.next.data(), fire.current.data()};
    fire.clock = {expected.seed, 0};
}

void RunReferenceFire(ReferenceFire& fire)
{
    RunReferenceFrame(fire.field, fire.pixels.data(), fire.fireType, fire.newFire, fire.clock);
}

uint32_t HeatColor(uint8_t heat)
{
    if (heat < 32) return uint32_t(8 * heat) << 16;
    if (heat < 64) return 0xFF0000 | uint32_t(8 * (heat - 32)) << 8;
    if (heat < 96) return 0xFFFF00 | uint32_t(8 * (heat - 64));
    return 0xFFFFFF;
}

uint32_t ExpectedPixel(const ReferenceFire& fire, int32_t x, int32_t y)
{
    const ExpectedFire& e = fire.expected;
    const int64_t fx = x - e.place.x, fy = y - e.place.y;
    if (fx < 0 || fy < 0 || fx >= e.place.width || fy >= e.place.height) return 0;
    const int64_t column = fx * e.gridWidth / e.place.width;
    const int64_t row = fy * e.gridHeight / e.place.height;
    return HeatColor(fire.field.current[row * e.gridWidth + column]);
}

bool ShowsFire(const std::vector<uint32_t>& image, int32_t width, const ReferenceFire& fire)
{
    const FramePlacement& p = fire.expected.place;
    // Bottom row up, where frames differ soonest.
    for (int32_t y = p.y + p.height - 1; y >= p.y; --y) {
        for (int32_t x = p.x; x < p.x + p.width; ++x) {
            if (image[size_t(y) * width + x] != ExpectedPixel(fire, x, y)) return false;
        }
    }
    return true;
}

int32_t FrameShown(const std::vector<uint32_t>& image, int32_t width, const ExpectedFire& expected,
                   int32_t fireType, int32_t newFire, int32_t frames)
{
    ReferenceFire fire;
    StartReferenceFire(fire, expected, fireType, newFire);
    for (int32_t frame = 1; frame <= frames; ++frame) {
        RunReferenceFire(fire);
        if (ShowsFire(image, width, fire)) return frame;
    }
    return 0;
}

bool BlackAround(const std::vector<uint32_t>& image, int32_t width,
                 const std::vector<ExpectedFire>& fires)
{
    for (size_t i = 0; i < image.size(); ++i) {
        const int32_t x = int32_t(i % width), y = int32_t(i / width);
        bool inside = false;
        for (const ExpectedFire& e : fires) {
            const FramePlacement& p = e.place;
            inside |= x >= p.x && y >= p.y && x < p.x + p.width && y < p.y + p.height;
        }
        if (!inside && image[i] != 0) return false;
    }
    return true;
}
