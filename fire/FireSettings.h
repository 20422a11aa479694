// The four fire settings, as every host reads them, and the rule that sizes
// the grid from them.
#pragma once
#include <cstdint>

struct FireSettingsRecord {
    int32_t size;      // "Size": grid = area / size
    int32_t scaling;   // "Scaling": 0 centred at grid size, else stretched
    int32_t newFire;   // "New fire": frames without sowing after a sowing
    int32_t fireType;  // "Fire type": hot spots per sowing = width / fireType
};

constexpr FireSettingsRecord DefaultFireSettings = {4, 0, 8, 8};

// The divisor that sizes the grid: a "Size" below 1, which only a
// hand-edited settings file holds, counts as the default 4.
constexpr int32_t FireGridDivisor(int32_t size)
{
    return size < 1 ? DefaultFireSettings.size : size;
}
