// The fire written the plain way, cell by cell with index arithmetic and
// bounds tests, as the yardstick for the fire core: in speed (the
// benchmarks) and in every byte (the tests' expected pictures).
#pragma once
#include <cstdint>

#include "fire/FireSimulation.h"

// The generator and countdown of one reference fire: seed as the host
// gives it, countdown 0 at the start.
struct ReferenceClock {
    uint32_t seed;
    int32_t countdown;
};

// Clears the bottom row of current and sows width / fireType hot spots, none
// for a fireType below 1.
void ReferenceSeed(FireField& field, int32_t fireType, uint32_t& seed);

// dest (y - 1, x) = average of the eight neighbours of src (y, x), less one,
// for y 1..h-1 and x 1..w-2; below the grid counts as cold.
void ReferenceSpread(uint8_t* dest, const uint8_t* src, int32_t w, int32_t h);

// Surface byte y * stride + x = grid byte y * w + x plus 10, modulo 256.
void ReferenceCopy(uint8_t* pixels, const uint8_t* grid, int32_t w, int32_t h);

// Countdown (sow or count down), spread into next, next into pixels, swap.
void RunReferenceFrame(FireField& field, uint8_t* pixels, int32_t fireType, int32_t newFire,
                       ReferenceClock& clock);
