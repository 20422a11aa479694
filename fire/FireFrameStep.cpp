#include "fire/FireFrameStep.h"

#include <cstddef>

#include "fire/FireColors.h"
#include "fire/FireSimulation.h"
#if defined(EMBRIX_PLAIN_FIRE)
#include "bench/ReferenceFire.h"
#endif

namespace {

bool SpreadsAtAll(const uint8_t* dest, const uint8_t* src, int32_t width, int32_t height) {
    return dest != nullptr && src != nullptr && width >= MinFireWidth && height >= MinFireHeight &&
           width <= MaxFireExtent && height <= MaxFireExtent;
}

bool CopiesAtAll(const uint8_t* pixels, const uint8_t* grid, int32_t width, int32_t height) {
    return pixels != nullptr && grid != nullptr && width > 0 && height > 0;
}

size_t Stride(size_t width) {
    return (width + 3) & ~size_t(3);
}

}  // namespace

void SpreadFireWith(const FireRowKernels& rows, uint8_t* dest, const uint8_t* src, int32_t width,
                    int32_t height) {
    if (!SpreadsAtAll(dest, src, width, height)) return;
    const size_t w = static_cast<size_t>(width);
    const size_t lastRow = static_cast<size_t>(height) - 1;
    for (size_t y = 1; y < lastRow; ++y) {
        const uint8_t* centre = src + y * w;
        rows.spreadRow(dest + (y - 1) * w, centre - w, centre, centre + w, w);
    }
    // The bottom source row has nothing below it: those neighbours are cold.
    const uint8_t* centre = src + lastRow * w;
    rows.spreadRow(dest + (lastRow - 1) * w, centre - w, centre, nullptr, w);
}

void CopyToSurfaceWith(const FireRowKernels& rows, uint8_t* pixels, const uint8_t* grid,
                       int32_t width, int32_t height) {
    if (!CopiesAtAll(pixels, grid, width, height)) return;
    const size_t w = static_cast<size_t>(width);
    const size_t stride = Stride(w);
    for (size_t y = 0; y < static_cast<size_t>(height); ++y) {
        rows.copyRow(pixels + y * stride, grid + y * w, w);
    }
}

void SpreadFireOntoSurfaceWith(const FireRowKernels& rows, uint8_t* dest, const uint8_t* src,
                               uint8_t* pixels, int32_t width, int32_t height) {
    if (!SpreadsAtAll(dest, src, width, height) || !CopiesAtAll(pixels, dest, width, height)) {
        SpreadFireWith(rows, dest, src, width, height);
        CopyToSurfaceWith(rows, pixels, dest, width, height);
        return;
    }
    // Each destination row goes to the surface while it is still in cache.
    const size_t w = static_cast<size_t>(width);
    const size_t stride = Stride(w);
    const size_t lastRow = static_cast<size_t>(height) - 1;
    for (size_t y = 1; y < lastRow; ++y) {
        const uint8_t* centre = src + y * w;
        rows.spreadCopyRow(dest + (y - 1) * w, pixels + (y - 1) * stride, centre - w, centre,
                           centre + w, w);
    }
    const uint8_t* centre = src + lastRow * w;
    rows.spreadCopyRow(dest + (lastRow - 1) * w, pixels + (lastRow - 1) * stride, centre - w,
                       centre, nullptr, w);
    // Spreading never writes the bottom row; it is shown as it is.
    rows.copyRow(pixels + lastRow * stride, dest + lastRow * w, w);
}

#if defined(EMBRIX_PLAIN_FIRE)

// The build to measure against: the same guards around the plain loops.
void SpreadFireOntoSurface(uint8_t* dest, const uint8_t* src, uint8_t* pixels, int32_t width,
                           int32_t height) {
    if (SpreadsAtAll(dest, src, width, height)) ReferenceSpread(dest, src, width, height);
    if (CopiesAtAll(pixels, dest, width, height)) ReferenceCopy(pixels, dest, width, height);
}

#else

void SpreadFireOntoSurface(uint8_t* dest, const uint8_t* src, uint8_t* pixels, int32_t width,
                           int32_t height) {
    SpreadFireOntoSurfaceWith(FastestFireRows(), dest, src, pixels, width, height);
}

#endif
