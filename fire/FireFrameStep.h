// The frame's passes over whole grids: spreading, the copy into the surface,
// and both in one pass. Each also comes over a chosen set of row kernels.
#pragma once
#include <cstdint>

#include "fire/FireRowKernels.h"

// Frame steps 2 and 3 in one pass over the rows: SpreadFire(dest, src) and
// then CopyToSurface(pixels, dest), with exactly their results.
void SpreadFireOntoSurface(uint8_t* dest, const uint8_t* src, uint8_t* pixels, int32_t width,
                           int32_t height);

// SpreadFire, CopyToSurface and SpreadFireOntoSurface on the given kernels.
void SpreadFireWith(const FireRowKernels& rows, uint8_t* dest, const uint8_t* src, int32_t width,
                    int32_t height);
void CopyToSurfaceWith(const FireRowKernels& rows, uint8_t* pixels, const uint8_t* grid,
                       int32_t width, int32_t height);
void SpreadFireOntoSurfaceWith(const FireRowKernels& rows, uint8_t* dest, const uint8_t* src,
                               uint8_t* pixels, int32_t width, int32_t height);
