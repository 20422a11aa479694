#include "fire/FireSimulation.h"

#include <cstddef>
#include <cstring>

int32_t NextRandom(uint32_t& seed)
{
    seed = seed * 214013u + 2531011u;
    return static_cast<int32_t>((seed >> 16) & 0x7FFFu);
}

void SeedFire(FireField& field, int32_t fireType, uint32_t& seed)
{
    const int32_t width = field.width;
    const int32_t height = field.height;
    uint8_t* const grid = field.current;
    if (grid == nullptr || width < 1 || height < 1) return;

    const size_t w = static_cast<size_t>(width);
    const size_t cells = w * static_cast<size_t>(height);
    std::memset(grid + cells - w, 0, w);

    // Below these sizes a spot would not fit two rows of three columns, and
    // W - 2 would be no modulus.
    if (width < MinFireWidth || height < MinFireHeight || fireType < 1) return;
    const int32_t spots = width / fireType;
    for (int32_t i = 0; i < spots; ++i) {
        const size_t r = static_cast<size_t>(NextRandom(seed) % (width - 2));
        const size_t k = cells - r;
        // For r = 0, k is one past the grid: that cell is left out.
        if (r != 0) grid[k] = HotSpotHeat;
        grid[k - w] = HotSpotHeat;
        grid[k - 1] = HotSpotHeat;
        grid[k - w + 1] = HotSpotHeat;
    }
}
