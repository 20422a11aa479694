// The heat model: two byte grids, sowing hot spots and spreading heat upward.
#pragma once
#include <cstdint>

struct FireField {
    int32_t width;
    int32_t height;
    uint8_t* next;     // spread into from current, shown after each frame
    uint8_t* current;  // sown, and spread from
    // The first row of each grid that may hold heat: every row above it is
    // all zero. 0 claims nothing, so a field filled in by hand is safe.
    // StepFireFrame keeps them; between its calls only SeedFire may write
    // the grids, and only into the bottom two rows.
    int32_t nextTop = 0;
    int32_t currentTop = 0;
};

constexpr uint8_t HotSpotHeat = 235;

// Grids narrower or lower than this are neither sown nor spread.
constexpr int32_t MinFireWidth = 3;
constexpr int32_t MinFireHeight = 2;
// Spreading counts rows and columns in 16 bits.
constexpr int32_t MaxFireExtent = 65535;

// 0..32767 from the 32-bit linear congruential sequence whose state is seed.
int32_t NextRandom(uint32_t& seed);

// Clears the bottom row of field.current and sows width / fireType hot spots,
// drawing their places from seed. Without a grid of at least MinFireWidth x
// MinFireHeight, or with a fireType below 1, nothing is sown and seed stays.
void SeedFire(FireField& field, int32_t fireType, uint32_t& seed);
