// The row operations that a frame is made of, one set per instruction set.
// Every set gives exactly the same bytes; they differ only in speed.
#pragma once
#include <cstddef>
#include <cstdint>

struct FireRowKernels {
    const char* name;
    // out[1..width-2] from the source rows around centre; no below means the
    // row under centre is cold. width >= 3; out[0] and out[width-1] untouched.
    void (*spreadRow)(uint8_t* out, const uint8_t* above, const uint8_t* centre,
                      const uint8_t* below, size_t width);
    // to[0..width-1] = from + FireIndexBase, per byte modulo 256. width >= 1.
    void (*copyRow)(uint8_t* to, const uint8_t* from, size_t width);
    // spreadRow, then the whole out row through copyRow into pixels.
    void (*spreadCopyRow)(uint8_t* out, uint8_t* pixels, const uint8_t* above,
                          const uint8_t* centre, const uint8_t* below, size_t width);
};

// Plain C++ for any processor.
extern const FireRowKernels PortableFireRows;

#if defined(__i386__) || defined(__x86_64__)
#define EMBRIX_X86_FIRE_ROWS 1
// 16 cells at a time; SSE2 is in every processor that runs either build.
extern const FireRowKernels Sse2FireRows;
// 32 cells at a time, for processors that report AVX2 (ProcessorRunsAvx2).
extern const FireRowKernels Avx2FireRows;
bool ProcessorRunsAvx2();
#endif

// The fastest set this processor runs; a fire asks once, when it is made.
const FireRowKernels& FastestFireRows();
