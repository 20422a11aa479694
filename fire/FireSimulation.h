// The heat model: two byte grids, sowing hot spots and spreading heat upward.
#pragma once
#include <cstdint>

struct FireField {
    int32_t width;
    int32_t height;
    uint8_t* next;     // written by SpreadFire, shown after each frame
    uint8_t* current;  // sown by SeedFire, read by SpreadFire
    // The first row of each grid that may hold heat: every row above it is
    // all zero. 0 claims nothing, so a field filled in by hand is safe.
    // StepFireFrame keeps them; between its calls only SeedFire may write
    // the grids, and only into the bottom two rows.
    int32_t nextTop = 0;
    int32_t currentTop = 0;
};

extern uint32_t randomSeed;       // state of NextRandom, 1 at process start
extern int32_t newFireCountdown;  // frames to the next sowing, 0 at start

constexpr uint8_t HotSpotHeat = 235;

// Grids narrower or lower than this are neither sown nor spread.
constexpr int32_t MinFireWidth = 3;
constexpr int32_t MinFireHeight = 2;
// SpreadFire counts rows and columns in 16 bits.
constexpr int32_t MaxFireExtent = 65535;

// 0..32767 from the 32-bit linear congruential sequence.
int32_t NextRandom();

// Clears the bottom row of field.current and sows width / fireType hot spots.
// Without a grid of at least MinFireWidth x MinFireHeight, or with a fireType
// below 1, nothing is sown and NextRandom is not called.
void SeedFire(FireField& field, int32_t fireType);

// dest row y - 1 = average of the eight neighbours of src row y, less one;
// cells below the bottom row count as cold. Columns 0 and width - 1 and the
// bottom row of dest are not written. Sizes outside MinFire*..MaxFireExtent
// spread nothing.
void SpreadFire(uint8_t* dest, const uint8_t* src, int32_t width, int32_t height);

// Frame step 1: sow when the countdown is 0 and reload it, else count down.
void RunNewFireCountdown(FireField& field, int32_t fireType, int32_t newFire);
