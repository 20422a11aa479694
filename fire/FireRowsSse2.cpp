#include "fire/FireRowKernels.h"

#if defined(EMBRIX_X86_FIRE_ROWS)
#include <emmintrin.h>

#include "fire/FireColors.h"

namespace {

constexpr size_t Lanes = 16;

inline __m128i Load(const uint8_t* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

inline void Store(uint8_t* at, __m128i cells)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), cells);
}

// New values of cells x..x+15 of the row above centre. Sums are kept in 16-bit
// lanes, even columns in one vector and odd ones in another, so that no lane
// ever changes places: loads from x - 1 and x + 1 hold, per 16-bit lane k,
// columns x-1+2k and x+2k (left) and x+1+2k and x+2+2k (right).
template <bool HasBelow>
inline __m128i SpreadCells(const uint8_t* above, const uint8_t* centre, const uint8_t* below,
                           size_t x)
{
    const __m128i lowByte = _mm_set1_epi16(0x00FF);
    __m128i left = Load(above + x - 1);
    __m128i right = Load(above + x + 1);
    __m128i left0 = _mm_and_si128(left, lowByte);
    __m128i left1 = _mm_srli_epi16(left, 8);
    __m128i right0 = _mm_and_si128(right, lowByte);
    __m128i right1 = _mm_srli_epi16(right, 8);
    if (HasBelow) {
        left = Load(below + x - 1);
        right = Load(below + x + 1);
        left0 = _mm_add_epi16(left0, _mm_and_si128(left, lowByte));
        left1 = _mm_add_epi16(left1, _mm_srli_epi16(left, 8));
        right0 = _mm_add_epi16(right0, _mm_and_si128(right, lowByte));
        right1 = _mm_add_epi16(right1, _mm_srli_epi16(right, 8));
    }
    // Above and below count three columns each: x-1..x+1 for the even cell
    // x+2k, x..x+2 for the odd one; the two middle columns are shared.
    const __m128i middle = _mm_add_epi16(left1, right0);
    __m128i even = _mm_add_epi16(left0, middle);
    __m128i odd = _mm_add_epi16(middle, right1);
    // The centre row counts its two side columns only.
    left = Load(centre + x - 1);
    right = Load(centre + x + 1);
    even = _mm_add_epi16(
        even, _mm_add_epi16(_mm_and_si128(left, lowByte), _mm_and_si128(right, lowByte)));
    odd = _mm_add_epi16(odd, _mm_add_epi16(_mm_srli_epi16(left, 8), _mm_srli_epi16(right, 8)));
    // Eight bytes sum to at most 2040, so each average fits its byte again.
    const __m128i average =
        _mm_or_si128(_mm_srli_epi16(even, 3), _mm_slli_epi16(_mm_srli_epi16(odd, 3), 8));
    return _mm_subs_epu8(average, _mm_set1_epi8(1));
}

// Columns 1..width-2 in steps of 16; the last step goes back to end exactly
// at width - 2, redoing a few cells, which gives the same bytes again.
template <bool HasBelow, bool Copy>
inline void SpreadCellsOfRow(uint8_t* out, uint8_t* pixels, const uint8_t* above,
                             const uint8_t* centre, const uint8_t* below, size_t width)
{
    const __m128i indexBase = _mm_set1_epi8(FireIndexBase);
    const size_t last = width - 1 - Lanes;
    for (size_t x = 1;; x += Lanes) {
        if (x > last) x = last;
        const __m128i cells = SpreadCells<HasBelow>(above, centre, below, x);
        Store(out + x, cells);
        if (Copy) Store(pixels + x, _mm_add_epi8(cells, indexBase));
        if (x == last) break;
    }
    if (Copy) {
        pixels[0] = static_cast<uint8_t>(out[0] + FireIndexBase);
        pixels[width - 1] = static_cast<uint8_t>(out[width - 1] + FireIndexBase);
    }
}

template <bool Copy>
void SpreadRowCopying(uint8_t* out, uint8_t* pixels, const uint8_t* above, const uint8_t* centre,
                      const uint8_t* below, size_t width)
{
    if (width < Lanes + 2) {
        if (Copy) {
            PortableFireRows.spreadCopyRow(out, pixels, above, centre, below, width);
        } else {
            PortableFireRows.spreadRow(out, above, centre, below, width);
        }
    } else if (below != nullptr) {
        SpreadCellsOfRow<true, Copy>(out, pixels, above, centre, below, width);
    } else {
        SpreadCellsOfRow<false, Copy>(out, pixels, above, centre, nullptr, width);
    }
}

void SpreadRow(uint8_t* out, const uint8_t* above, const uint8_t* centre, const uint8_t* below,
               size_t width)
{
    SpreadRowCopying<false>(out, nullptr, above, centre, below, width);
}

void SpreadCopyRow(uint8_t* out, uint8_t* pixels, const uint8_t* above, const uint8_t* centre,
                   const uint8_t* below, size_t width)
{
    SpreadRowCopying<true>(out, pixels, above, centre, below, width);
}

void CopyRow(uint8_t* to, const uint8_t* from, size_t width)
{
    if (width < Lanes) {
        PortableFireRows.copyRow(to, from, width);
        return;
    }
    const __m128i indexBase = _mm_set1_epi8(FireIndexBase);
    const size_t last = width - Lanes;
    for (size_t x = 0;; x += Lanes) {
        if (x > last) x = last;
        Store(to + x, _mm_add_epi8(Load(from + x), indexBase));
        if (x == last) break;
    }
}

}  // namespace

const FireRowKernels Sse2FireRows = {"sse2", SpreadRow, CopyRow, SpreadCopyRow};

#endif
