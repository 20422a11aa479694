#include <cstring>

#include "fire/FireColors.h"
#include "fire/FireRowKernels.h"

namespace {

template <bool HasBelow>
inline void SpreadCells(uint8_t* __restrict out, const uint8_t* __restrict above,
                        const uint8_t* __restrict centre, const uint8_t* __restrict below,
                        size_t width)
{
    for (size_t x = 1; x + 1 < width; ++x) {
        // Signed, and the cooling as a comparison: that way a vectorising
        // compiler keeps the sums in 16-bit lanes.
        int sum = above[x - 1] + above[x] + above[x + 1] + centre[x - 1] + centre[x + 1];
        if (HasBelow) sum += below[x - 1] + below[x] + below[x + 1];
        const int average = sum >> 3;
        out[x] = static_cast<uint8_t>(average >= 1 ? average - 1 : 0);
    }
}

void SpreadRow(uint8_t* out, const uint8_t* above, const uint8_t* centre, const uint8_t* below,
               size_t width)
{
    if (below != nullptr) {
        SpreadCells<true>(out, above, centre, below, width);
    } else {
        SpreadCells<false>(out, above, centre, nullptr, width);
    }
}

void CopyRow(uint8_t* to, const uint8_t* from, size_t width)
{
    const size_t words = width >> 2;
    const uint32_t offset = 0x0A0A0A0Au;  // FireIndexBase in every byte
    for (size_t i = 0; i < words; ++i) {
        uint32_t four;
        std::memcpy(&four, from + 4 * i, 4);
        // The top bit of each byte is added apart, so no byte carries into
        // its neighbour whatever the grid holds.
        const uint32_t high = four & 0x80808080u;
        four = ((four & 0x7F7F7F7Fu) + offset) ^ high;
        std::memcpy(to + 4 * i, &four, 4);
    }
    for (size_t x = words * 4; x < width; ++x) {
        to[x] = static_cast<uint8_t>(from[x] + FireIndexBase);
    }
}

void SpreadCopyRow(uint8_t* out, uint8_t* pixels, const uint8_t* above, const uint8_t* centre,
                   const uint8_t* below, size_t width)
{
    SpreadRow(out, above, centre, below, width);
    CopyRow(pixels, out, width);
}

}  // namespace

const FireRowKernels PortableFireRows = {"portable", SpreadRow, CopyRow, SpreadCopyRow};
