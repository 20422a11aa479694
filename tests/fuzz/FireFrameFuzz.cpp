// A fire on any area, settings, seed, countdown and starting heat, driven
// as the hosts drive it, the picture now and then lost; grids and picture
// are blocks of exactly their size, so the sanitizers see any access
// outside them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <vector>

#include "fire/Fire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int32_t right = input.ConsumeIntegralInRange<int32_t>(0, 140000);
    const int32_t bottom = input.ConsumeIntegralInRange<int32_t>(0, 140000);
    FireSettingsRecord settings;
    settings.size = input.ConsumeIntegral<int32_t>();
    settings.fireType = input.ConsumeIntegral<int32_t>();
    settings.newFire = input.ConsumeIntegral<int32_t>();
    const int32_t countdown = input.ConsumeIntegral<int32_t>();
    const uint32_t seed = input.ConsumeIntegral<uint32_t>();
    const int frames = input.ConsumeIntegralInRange<int>(1, 6);
    settings.scaling = input.ConsumeIntegral<int32_t>();
    const std::vector<uint8_t> heat = input.ConsumeRemainingBytes<uint8_t>();
    const int32_t divisor = FireGridDivisor(settings.size);
    // Larger grids only slow the search down.
    if (size_t(right / divisor) * size_t(bottom / divisor) > (size_t{1} << 17)) return 0;

    Fire fire;
    CreateFire(fire, {0, 0, right, bottom}, settings, seed);
    fire.newFireCountdown = countdown;
    const FireField& field = fire.field;
    const size_t cells = size_t(field.width) * size_t(field.height);
    for (size_t i = 0; fire.surface && !heat.empty() && i < cells; ++i) {
        field.current[i] = heat[i % heat.size()] % (HotSpotHeat + 1);
        field.next[i] = heat[(i + 7) % heat.size()] % (HotSpotHeat + 1);
    }
    bool lost = true;  // a new fire's picture is shown whole
    for (int frame = 0; frame < frames; ++frame) {
        const int32_t from = RunFireFrame(fire);
        if (from < 0 || from > field.height || (lost && fire.surface && from != 0)) std::abort();
        for (size_t i = 0; fire.surface && i < cells; ++i) {
            if (field.current[i] > HotSpotHeat) std::abort();
        }
        lost = !heat.empty() && heat[frame % heat.size()] % 4 == 0;
        if (lost) ShowWholeFire(fire);
    }
    DestroyFire(fire);
    return 0;
}
