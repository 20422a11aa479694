// The frame written the plain way, cell by cell with index arithmetic and
// bounds tests, as the yardstick for the fire core's frame: in speed (the
// benchmark) and in every byte (the exactness tests).
#pragma once
#include <cstdint>

#include "fire/FireSimulation.h"

extern int32_t referenceCountdown;

// Clears the bottom row of current and sows width / fireType hot spots.
void ReferenceSeed(FireField& field, int32_t fireType);

// dest (y - 1, x) = average of the eight neighbours of src (y, x), less one,
// for y 1..h-1 and x 1..w-2; below the grid counts as cold.
void ReferenceSpread(uint8_t* dest, const uint8_t* src, int32_t w, int32_t h);

// Surface byte y * stride + x = grid byte y * w + x plus 10, modulo 256.
void ReferenceCopy(uint8_t* pixels, const uint8_t* grid, int32_t w, int32_t h);

// Countdown (sow or count down), spread into next, next into pixels, swap.
void RunReferenceFrame(FireField& field, uint8_t* pixels, int32_t fireType, int32_t newFire);
