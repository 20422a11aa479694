// Fire frames on arbitrary client sizes, settings and starting heat, the way
// the window procedure drives them: the grid sized through the size divisor,
// then per frame the countdown with its sowing and the one-pass step that
// spreads and copies the rows that can hold heat into a surface of exactly
// the DIB's size, with erases between frames, and the centred placement. The grids and
// the surface are heap blocks of exactly their size, so AddressSanitizer sees
// any access outside them; UndefinedBehaviorSanitizer sees any division by
// zero or signed overflow.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fire/FireColors.h"
#include "fire/FireFrameStep.h"
#include "fire/FireSettings.h"
#include "fire/FireSimulation.h"

namespace {

void Require(bool holds)
{
    if (!holds) std::abort();
}

// Larger grids are real but only slow the search down.
constexpr uint64_t MaxCells = uint64_t{1} << 17;
constexpr uint8_t PaddingMark = 0xEE;

void CheckPlacement(int32_t right, int32_t bottom, int32_t width, int32_t height, int32_t size)
{
    const FramePlacement place = PlaceCentredFrame(right, bottom, width, height, size);
    // The centred copy has the grid's own size and stays inside the client area.
    Require(place.width == width && place.height == height);
    Require(place.x >= 0 && place.y >= 0);
    Require(place.x + place.width <= right && place.y + place.height <= bottom);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int32_t right = input.ConsumeIntegralInRange<int32_t>(0, 140000);
    const int32_t bottom = input.ConsumeIntegralInRange<int32_t>(0, 140000);
    const int32_t sizeSetting = input.ConsumeIntegral<int32_t>();
    const int32_t fireType = input.ConsumeIntegral<int32_t>();
    const int32_t newFire = input.ConsumeIntegral<int32_t>();
    newFireCountdown = input.ConsumeIntegral<int32_t>();
    randomSeed = input.ConsumeIntegral<uint32_t>();
    const int frames = input.ConsumeIntegralInRange<int>(1, 6);
    const std::vector<uint8_t> heat = input.ConsumeRemainingBytes<uint8_t>();

    const int32_t divisor = FireGridDivisor(sizeSetting);
    Require(divisor >= 1);
    FireField field;
    field.width = right / divisor;
    field.height = bottom / divisor;
    const uint64_t cells = uint64_t(field.width) * uint64_t(field.height);
    if (cells > MaxCells) return 0;
    if (field.width > 0 && field.height > 0) {
        CheckPlacement(right, bottom, field.width, field.height, sizeSetting);
    }

    // Exactly sized blocks; a zero-cell grid still gets a (one-byte) block,
    // as the allocator may hand one out.
    const size_t cellCount = static_cast<size_t>(cells);
    std::vector<uint8_t> first(cellCount == 0 ? 1 : cellCount);
    std::vector<uint8_t> second(first.size());
    // Any starting heat within the simulation's range.
    for (size_t i = 0; !heat.empty() && i < cellCount; ++i) {
        first[i] = heat[i % heat.size()] % (HotSpotHeat + 1);
        second[i] = heat[(i + 7) % heat.size()] % (HotSpotHeat + 1);
    }
    field.current = first.data();
    field.next = second.data();

    const size_t stride = static_cast<size_t>(SurfaceStride(field.width));
    Require(stride % 4 == 0 && stride >= static_cast<size_t>(field.width));
    const size_t surfaceBytes = stride * static_cast<size_t>(field.height);
    std::vector<uint8_t> surface(surfaceBytes == 0 ? 1 : surfaceBytes, PaddingMark);

    // The step the saver runs: after the first frame the surface shows the
    // grid it left, unless an erase came between.
    bool shown = false;
    for (int frame = 0; frame < frames; ++frame) {
        RunNewFireCountdown(field, fireType, newFire);
        const int32_t changed = StepFireFrame(field, surface.data(), shown);
        Require(changed >= 0 && (shown || changed == 0));
        for (size_t y = 0; y < static_cast<size_t>(field.height); ++y) {
            const uint8_t* row = surface.data() + y * stride;
            const uint8_t* grid = field.current + y * static_cast<size_t>(field.width);
            for (size_t x = 0; x < static_cast<size_t>(field.width); ++x) {
                // Heat stays 0..235, so every pixel is a fire colour.
                Require(grid[x] <= HotSpotHeat);
                Require(row[x] == grid[x] + FireIndexBase);
            }
            for (size_t x = static_cast<size_t>(field.width); x < stride; ++x)
                Require(row[x] == PaddingMark);
        }
        for (size_t i = 0; i < cellCount; ++i) Require(field.next[i] <= HotSpotHeat);
        shown = (heat.empty() || heat[frame % heat.size()] % 4 != 0);
        if (!shown) {  // an erase: the surface's fire pixels go black
            for (size_t y = 0; y < static_cast<size_t>(field.height); ++y)
                std::memset(surface.data() + y * stride, 0, static_cast<size_t>(field.width));
        }
    }
    return 0;
}
