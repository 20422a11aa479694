#include "fire/FireRowKernels.h"

#if defined(EMBRIX_X86_FIRE_ROWS)
#include <immintrin.h>

#include "fire/FireColors.h"

// Only these functions use AVX2; the rest of the program stays at the
// baseline, and nothing here runs unless ProcessorRunsAvx2 said so.
#define EMBRIX_AVX2 __attribute__((target("avx2")))

namespace {

constexpr size_t Lanes = 32;

EMBRIX_AVX2 inline __m256i Load(const uint8_t* at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

EMBRIX_AVX2 inline void Store(uint8_t* at, __m256i cells)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), cells);
}

// The 16-cell kernel twice as wide: every operation stays within its 16-bit
// lane, so the halves of the register never meet.
template <bool HasBelow>
EMBRIX_AVX2 inline __m256i SpreadCells(const uint8_t* above, const uint8_t* centre,
                                       const uint8_t* below, size_t x)
{
    const __m256i lowByte = _mm256_set1_epi16(0x00FF);
    __m256i left = Load(above + x - 1);
    __m256i right = Load(above + x + 1);
    __m256i left0 = _mm256_and_si256(left, lowByte);
    __m256i left1 = _mm256_srli_epi16(left, 8);
    __m256i right0 = _mm256_and_si256(right, lowByte);
    __m256i right1 = _mm256_srli_epi16(right, 8);
    if (HasBelow) {
        left = Load(below + x - 1);
        right = Load(below + x + 1);
        left0 = _mm256_add_epi16(left0, _mm256_and_si256(left, lowByte));
        left1 = _mm256_add_epi16(left1, _mm256_srli_epi16(left, 8));
        right0 = _mm256_add_epi16(right0, _mm256_and_si256(right, lowByte));
        right1 = _mm256_add_epi16(right1, _mm256_srli_epi16(right, 8));
    }
    const __m256i middle = _mm256_add_epi16(left1, right0);
    __m256i even = _mm256_add_epi16(left0, middle);
    __m256i odd = _mm256_add_epi16(middle, right1);
    left = Load(centre + x - 1);
    right = Load(centre + x + 1);
    even = _mm256_add_epi16(
        even, _mm256_add_epi16(_mm256_and_si256(left, lowByte), _mm256_and_si256(right, lowByte)));
    odd = _mm256_add_epi16(
        odd, _mm256_add_epi16(_mm256_srli_epi16(left, 8), _mm256_srli_epi16(right, 8)));
    const __m256i average = _mm256_or_si256(_mm256_srli_epi16(even, 3),
                                            _mm256_slli_epi16(_mm256_srli_epi16(odd, 3), 8));
    return _mm256_subs_epu8(average, _mm256_set1_epi8(1));
}

template <bool HasBelow, bool Copy>
EMBRIX_AVX2 inline void SpreadCellsOfRow(uint8_t* out, uint8_t* pixels, const uint8_t* above,
                                         const uint8_t* centre, const uint8_t* below, size_t width)
{
    const __m256i indexBase = _mm256_set1_epi8(FireIndexBase);
    const size_t last = width - 1 - Lanes;
    for (size_t x = 1;; x += Lanes) {
        if (x > last) x = last;
        const __m256i cells = SpreadCells<HasBelow>(above, centre, below, x);
        Store(out + x, cells);
        if (Copy) Store(pixels + x, _mm256_add_epi8(cells, indexBase));
        if (x == last) break;
    }
    if (Copy) {
        pixels[0] = static_cast<uint8_t>(out[0] + FireIndexBase);
        pixels[width - 1] = static_cast<uint8_t>(out[width - 1] + FireIndexBase);
    }
}

template <bool Copy>
EMBRIX_AVX2 void SpreadRowCopying(uint8_t* out, uint8_t* pixels, const uint8_t* above,
                                  const uint8_t* centre, const uint8_t* below, size_t width)
{
    if (width < Lanes + 2) {
        if (Copy) {
            Sse2FireRows.spreadCopyRow(out, pixels, above, centre, below, width);
        } else {
            Sse2FireRows.spreadRow(out, above, centre, below, width);
        }
    } else if (below != nullptr) {
        SpreadCellsOfRow<true, Copy>(out, pixels, above, centre, below, width);
    } else {
        SpreadCellsOfRow<false, Copy>(out, pixels, above, centre, nullptr, width);
    }
}

EMBRIX_AVX2 void SpreadRow(uint8_t* out, const uint8_t* above, const uint8_t* centre,
                           const uint8_t* below, size_t width)
{
    SpreadRowCopying<false>(out, nullptr, above, centre, below, width);
}

EMBRIX_AVX2 void SpreadCopyRow(uint8_t* out, uint8_t* pixels, const uint8_t* above,
                               const uint8_t* centre, const uint8_t* below, size_t width)
{
    SpreadRowCopying<true>(out, pixels, above, centre, below, width);
}

EMBRIX_AVX2 void CopyRow(uint8_t* to, const uint8_t* from, size_t width)
{
    if (width < Lanes) {
        Sse2FireRows.copyRow(to, from, width);
        return;
    }
    const __m256i indexBase = _mm256_set1_epi8(FireIndexBase);
    const size_t last = width - Lanes;
    for (size_t x = 0;; x += Lanes) {
        if (x > last) x = last;
        Store(to + x, _mm256_add_epi8(Load(from + x), indexBase));
        if (x == last) break;
    }
}

}  // namespace

const FireRowKernels Avx2FireRows = {"avx2", SpreadRow, CopyRow, SpreadCopyRow};

#endif
