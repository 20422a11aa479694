// Frames on any client size, settings and starting heat, as the window
// procedure drives them, erases between; blocks of exactly their size, so
// the sanitizers see any access outside them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "fire/FireColors.h"
#include "fire/FireFrameStep.h"
#include "fire/FireSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int32_t right = input.ConsumeIntegralInRange<int32_t>(0, 140000);
    const int32_t bottom = input.ConsumeIntegralInRange<int32_t>(0, 140000);
    const int32_t divisor = FireGridDivisor(input.ConsumeIntegral<int32_t>());
    const int32_t fireType = input.ConsumeIntegral<int32_t>();
    const int32_t newFire = input.ConsumeIntegral<int32_t>();
    newFireCountdown = input.ConsumeIntegral<int32_t>();
    randomSeed = input.ConsumeIntegral<uint32_t>();
    const int frames = input.ConsumeIntegralInRange<int>(1, 6);
    const std::vector<uint8_t> heat = input.ConsumeRemainingBytes<uint8_t>();
    FireField field;
    field.width = right / divisor;
    field.height = bottom / divisor;
    const size_t cells = size_t(field.width) * size_t(field.height);
    if (cells > (size_t{1} << 17)) return 0;  // larger grids only slow the search down

    // A grid of no cells still gets a block, as the allocator may hand one out.
    std::vector<uint8_t> first(cells ? cells : 1), second(first.size());
    for (size_t i = 0; !heat.empty() && i < cells; ++i) {
        first[i] = heat[i % heat.size()] % (HotSpotHeat + 1);
        second[i] = heat[(i + 7) % heat.size()] % (HotSpotHeat + 1);
    }
    field.current = first.data();
    field.next = second.data();
    const size_t stride = size_t(SurfaceStride(field.width));
    std::vector<uint8_t> surface(cells ? stride * size_t(field.height) : 1);
    bool shown = false;  // after a frame the surface shows its grid, unless erased since
    for (int frame = 0; frame < frames; ++frame) {
        RunNewFireCountdown(field, fireType, newFire);
        const int32_t changed = StepFireFrame(field, surface.data(), shown);
        if (changed < 0 || (!shown && changed != 0)) std::abort();
        for (size_t i = 0; i < cells; ++i) {
            if (field.current[i] > HotSpotHeat) std::abort();
        }
        shown = heat.empty() || heat[frame % heat.size()] % 4 != 0;
        if (!shown) std::memset(surface.data(), 0, surface.size());
    }
    return 0;
}
