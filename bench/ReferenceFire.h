// The frame written the plain way, cell by cell with index arithmetic and
// bounds tests, as the yardstick for the fire core's frame.
#pragma once
#include <cstdint>

#include "fire/FireSimulation.h"

extern int32_t referenceCountdown;

// Countdown (sow or count down), spread into next, swap the grids.
void RunReferenceFrame(FireField& field, int32_t fireType, int32_t newFire);
