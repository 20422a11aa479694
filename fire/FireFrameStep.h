// The frame's passes over whole grids: spreading, the copy into the surface,
// and both in one pass. Each also comes over a chosen set of row kernels.
#pragma once
#include <cstdint>

#include "fire/FireRowKernels.h"
#include "fire/FireSimulation.h"

// Frame steps 2 and 3 in one pass over the rows: SpreadFire(dest, src) and
// then CopyToSurface(pixels, dest), with exactly their results.
void SpreadFireOntoSurface(uint8_t* dest, const uint8_t* src, uint8_t* pixels, int32_t width,
                           int32_t height);

// Frame steps 2 to 4 where the heat is: next spread from current over the
// rows that can hold heat, the surface brought to next + FireIndexBase, the
// grids and their tops swapped. Grids and surface end exactly as after
// SpreadFireOntoSurface and the swap. surfaceShowsCurrent says that the
// surface holds current as the last step left it; without that every row is
// copied. Returns the first surface row that may have changed: rows from it
// to the bottom changed, none above it (0 after a degenerate grid).
int32_t StepFireFrame(FireField& field, uint8_t* pixels, bool surfaceShowsCurrent);
int32_t StepFireFrameWith(const FireRowKernels& rows, FireField& field, uint8_t* pixels,
                          bool surfaceShowsCurrent);

// SpreadFire, CopyToSurface and SpreadFireOntoSurface on the given kernels.
void SpreadFireWith(const FireRowKernels& rows, uint8_t* dest, const uint8_t* src, int32_t width,
                    int32_t height);
void CopyToSurfaceWith(const FireRowKernels& rows, uint8_t* pixels, const uint8_t* grid,
                       int32_t width, int32_t height);
void SpreadFireOntoSurfaceWith(const FireRowKernels& rows, uint8_t* dest, const uint8_t* src,
                               uint8_t* pixels, int32_t width, int32_t height);
