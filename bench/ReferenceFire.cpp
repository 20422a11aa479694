#include "bench/ReferenceFire.h"

#include <utility>

void ReferenceSeed(FireField& field, int32_t fireType, uint32_t& seed)
{
    const int32_t w = field.width;
    const int32_t h = field.height;
    for (int32_t x = 0; x < w; ++x) field.current[(h - 1) * w + x] = 0;
    const int32_t spots = fireType < 1 ? 0 : w / fireType;
    for (int32_t i = 0; i < spots; ++i) {
        seed = seed * 214013u + 2531011u;
        const int32_t r = int32_t((seed >> 16) & 0x7FFFu) % (w - 2);
        const int32_t k = w * h - r;
        const int32_t cells[4] = {k, k - w, k - 1, k - w + 1};
        for (int32_t cell : cells) {
            if (cell < w * h) field.current[cell] = HotSpotHeat;
        }
    }
}

void ReferenceSpread(uint8_t* dest, const uint8_t* src, int32_t w, int32_t h)
{
    for (int32_t y = 1; y < h; ++y) {
        for (int32_t x = 1; x < w - 1; ++x) {
            int32_t sum = 0;
            for (int32_t dy = -1; dy <= 1; ++dy) {
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    if ((dy == 0 && dx == 0) || y + dy >= h) continue;
                    sum += src[(y + dy) * w + x + dx];
                }
            }
            const int32_t average = sum / 8;
            dest[(y - 1) * w + x] = static_cast<uint8_t>(average >= 1 ? average - 1 : 0);
        }
    }
}

void ReferenceCopy(uint8_t* pixels, const uint8_t* grid, int32_t w, int32_t h)
{
    const int32_t stride = (w + 3) / 4 * 4;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            pixels[y * stride + x] = static_cast<uint8_t>((grid[y * w + x] + 10) % 256);
        }
    }
}

void RunReferenceFrame(FireField& field, uint8_t* pixels, int32_t fireType, int32_t newFire,
                       ReferenceClock& clock)
{
    if (clock.countdown == 0) {
        ReferenceSeed(field, fireType, clock.seed);
        clock.countdown = newFire;
    } else {
        --clock.countdown;
    }
    ReferenceSpread(field.next, field.current, field.width, field.height);
    ReferenceCopy(pixels, field.next, field.width, field.height);
    std::swap(field.next, field.current);
}
