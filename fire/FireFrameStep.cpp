#include "fire/FireFrameStep.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "fire/FireColors.h"

namespace {

bool SpreadsAtAll(const uint8_t* dest, const uint8_t* src, int32_t width, int32_t height)
{
    return dest != nullptr && src != nullptr && width >= MinFireWidth && height >= MinFireHeight &&
           width <= MaxFireExtent && height <= MaxFireExtent;
}

bool CopiesAtAll(const uint8_t* pixels, const uint8_t* grid, int32_t width, int32_t height)
{
    return pixels != nullptr && grid != nullptr && width > 0 && height > 0;
}

size_t Stride(size_t width)
{
    return (width + 3) & ~size_t(3);
}

bool RowHoldsHeat(const uint8_t* row, size_t width)
{
    uint8_t any = 0;
    for (size_t x = 0; x < width; ++x) any |= row[x];
    return any != 0;
}

// Destination rows from..height-2 spread from src, each copied to the
// surface while it is still in cache, and the bottom row copied as it is:
// spreading never writes it. Needs a grid that spreads at all.
void SpreadRowsOntoSurface(const FireRowKernels& rows, uint8_t* dest, const uint8_t* src,
                           uint8_t* pixels, size_t w, size_t height, size_t from)
{
    const size_t stride = Stride(w);
    const size_t lastRow = height - 1;
    for (size_t y = from + 1; y < lastRow; ++y) {
        const uint8_t* centre = src + y * w;
        rows.spreadCopyRow(dest + (y - 1) * w, pixels + (y - 1) * stride, centre - w, centre,
                           centre + w, w);
    }
    const uint8_t* centre = src + lastRow * w;
    rows.spreadCopyRow(dest + (lastRow - 1) * w, pixels + (lastRow - 1) * stride, centre - w,
                       centre, nullptr, w);
    rows.copyRow(pixels + lastRow * stride, dest + lastRow * w, w);
}

// Grids too small to spread, or missing: whatever can be is spread and
// copied, row by row as the plain loops would.
void StepWholeGrids(const FireRowKernels& rows, uint8_t* dest, const uint8_t* src, uint8_t* pixels,
                    int32_t width, int32_t height)
{
    if (SpreadsAtAll(dest, src, width, height)) {
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
    if (CopiesAtAll(pixels, dest, width, height)) {
        const size_t w = static_cast<size_t>(width);
        for (size_t y = 0; y < static_cast<size_t>(height); ++y)
            rows.copyRow(pixels + y * Stride(w), dest + y * w, w);
    }
}

}  // namespace

int32_t StepFireFrame(const FireRowKernels& rows, FireField& field, uint8_t* pixels)
{
    const int32_t width = field.width;
    const int32_t height = field.height;
    uint8_t* const dest = field.next;
    const uint8_t* const src = field.current;
    if (!SpreadsAtAll(dest, src, width, height) || !CopiesAtAll(pixels, dest, width, height)) {
        StepWholeGrids(rows, dest, src, pixels, width, height);
        std::swap(field.current, field.next);
        field.currentTop = field.nextTop = 0;
        return 0;
    }
    // Sowing may have lit the bottom two rows of current since the last step.
    const int32_t srcTop = std::min(std::max(field.currentTop, 0), height - 2);
    const int32_t oldDestTop = std::min(std::max(field.nextTop, 0), height);
    // Destination row r is spread from source rows r..r+2: above srcTop - 2
    // every one of them is cold, and so is the result.
    const int32_t start = std::max(srcTop - 2, 0);
    const size_t w = static_cast<size_t>(width);
    const size_t stride = Stride(w);
    for (int32_t y = oldDestTop; y < start; ++y) {
        std::memset(dest + static_cast<size_t>(y) * w + 1, 0, w - 2);
    }
    SpreadRowsOntoSurface(rows, dest, src, pixels, w, static_cast<size_t>(height),
                          static_cast<size_t>(start));

    // Columns 0 and width - 1 are never spread, so cleared rows may still
    // hold heat there.
    int32_t destTop = std::min(oldDestTop, start);
    while (destTop < height && !RowHoldsHeat(dest + static_cast<size_t>(destTop) * w, w)) {
        ++destTop;
    }
    // Above both tops both grids are cold: the surface already shows those rows.
    const int32_t changed = std::min(srcTop, destTop);
    for (int32_t y = changed; y < start; ++y) {
        rows.copyRow(pixels + static_cast<size_t>(y) * stride, dest + static_cast<size_t>(y) * w,
                     w);
    }
    std::swap(field.current, field.next);
    field.currentTop = destTop;
    field.nextTop = srcTop;
    return changed;
}
