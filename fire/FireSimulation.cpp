#include "fire/FireSimulation.h"

#include <cstddef>
#include <cstring>

uint32_t randomSeed = 1;
int32_t newFireCountdown = 0;

int32_t NextRandom() {
    randomSeed = randomSeed * 214013u + 2531011u;
    return static_cast<int32_t>((randomSeed >> 16) & 0x7FFFu);
}

void SeedFire(FireField& field, int32_t fireType) {
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
        const size_t r = static_cast<size_t>(NextRandom() % (width - 2));
        const size_t k = cells - r;
        // For r = 0, k is one past the grid: that cell is left out.
        if (r != 0) grid[k] = HotSpotHeat;
        grid[k - w] = HotSpotHeat;
        grid[k - 1] = HotSpotHeat;
        grid[k - w + 1] = HotSpotHeat;
    }
}

namespace {

// One destination row from the source row above the centre row, the centre
// row itself and, when there is one, the row below it.
template <bool HasBelow>
inline void SpreadRow(uint8_t* __restrict out, const uint8_t* __restrict above,
                      const uint8_t* __restrict centre, const uint8_t* __restrict below,
                      size_t width) {
    for (size_t x = 1; x + 1 < width; ++x) {
        // Signed, and the cooling as a comparison: that way the compiler keeps
        // the sums in 16-bit lanes.
        int sum = above[x - 1] + above[x] + above[x + 1] + centre[x - 1] + centre[x + 1];
        if (HasBelow) sum += below[x - 1] + below[x] + below[x + 1];
        const int average = sum >> 3;
        out[x] = static_cast<uint8_t>(average >= 1 ? average - 1 : 0);
    }
}

}  // namespace

void SpreadFire(uint8_t* dest, const uint8_t* src, int32_t width, int32_t height) {
    if (dest == nullptr || src == nullptr || width < MinFireWidth || height < MinFireHeight ||
        width > MaxFireExtent || height > MaxFireExtent) {
        return;
    }
    const size_t w = static_cast<size_t>(width);
    const size_t lastRow = static_cast<size_t>(height) - 1;
    for (size_t y = 1; y < lastRow; ++y) {
        const uint8_t* centre = src + y * w;
        SpreadRow<true>(dest + (y - 1) * w, centre - w, centre, centre + w, w);
    }
    // The bottom source row has nothing below it: those neighbours are cold.
    const uint8_t* centre = src + lastRow * w;
    SpreadRow<false>(dest + (lastRow - 1) * w, centre - w, centre, nullptr, w);
}

void RunNewFireCountdown(FireField& field, int32_t fireType, int32_t newFire) {
    if (newFireCountdown == 0) {
        SeedFire(field, fireType);
        newFireCountdown = newFire;
    } else {
        // A negative reload value must wrap through the whole range, not
        // overflow.
        newFireCountdown = static_cast<int32_t>(static_cast<uint32_t>(newFireCountdown) - 1u);
    }
}
