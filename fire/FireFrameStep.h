// One frame's pass over the grids: the heat spread from current into next
// over the rows that can hold it, and the surface brought to next.
#pragma once
#include <cstdint>

#include "fire/FireRowKernels.h"
#include "fire/FireSimulation.h"

// Spreads next from current and brings the surface (SurfaceStride(width)
// bytes a row) to next + FireIndexBase, then swaps the grids and their tops:
// grids and surface end exactly as after a spread and copy of every row,
// provided the surface held current + FireIndexBase above current's top.
// Returns the first surface row that may have changed: rows from it to the
// bottom changed, none above it (0 after a grid too small to spread).
int32_t StepFireFrame(const FireRowKernels& rows, FireField& field, uint8_t* pixels);
