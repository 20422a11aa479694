// Every set of row kernels, and the product's frame step, against the plain
// reference loops: same bytes everywhere, on grids of many shapes (the row
// kernels with the grids fenced, so that any access outside them faults) and
// over long runs of frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>
#include <utility>
#include <vector>

#include "FencedBytes.h"
#include "bench/ReferenceFire.h"
#include "fire/FireColors.h"
#include "fire/FireFrameStep.h"
#include "fire/FireRowKernels.h"
#include "fire/FireSimulation.h"

namespace {

std::vector<const FireRowKernels*> RowSetsThisProcessorRuns() {
    std::vector<const FireRowKernels*> sets{&PortableFireRows};
#if defined(EMBRIX_X86_FIRE_ROWS)
    sets.push_back(&Sse2FireRows);
    if (ProcessorRunsAvx2()) sets.push_back(&Avx2FireRows);
#endif
    return sets;
}

struct Shape {
    int32_t width, height;
};

// Every width up to past two 32-cell steps at the smallest heights, and a few
// larger grids, the screen-sized ones among them.
std::vector<Shape> Shapes() {
    std::vector<Shape> shapes;
    for (int32_t h = 1; h <= 4; ++h) {
        for (int32_t w = 1; w <= 70; ++w) shapes.push_back({w, h});
    }
    for (Shape s : {Shape{17, 3}, Shape{33, 9}, Shape{97, 61}, Shape{255, 17}, Shape{1000, 3},
                    Shape{160, 120}, Shape{1920, 5}}) {
        shapes.push_back(s);
    }
    return shapes;
}

size_t Cells(Shape s) {
    return size_t(s.width) * size_t(s.height);
}

size_t SurfaceBytes(Shape s) {
    return size_t(SurfaceStride(s.width)) * size_t(s.height);
}

// Random bytes up to highest: any value at all, heat as the fire holds it,
// or embers low enough that cooling often meets zero.
void Randomise(uint8_t* bytes, size_t size, std::mt19937& random, int32_t highest) {
    std::uniform_int_distribution<int32_t> value(0, highest);
    for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(value(random));
}

std::vector<uint8_t> Bytes(const uint8_t* bytes, size_t size) {
    return bytes == nullptr ? std::vector<uint8_t>() : std::vector<uint8_t>(bytes, bytes + size);
}

std::string Describe(const FireRowKernels& rows, Shape s, FenceSide side) {
    return std::string(rows.name) + " " + std::to_string(s.width) + "x" +
           std::to_string(s.height) + (side == FenceSide::After ? " fenced after" : " fenced before");
}

// One case: source, destination and surface fenced on the same side, each
// holding random bytes; the kernels and the reference start from copies.
struct Case {
    Case(Shape s, FenceSide side, std::mt19937& random, int32_t highest)
        : shape(s),
          src(MakeFencedBytes(Cells(s), side, 0)),
          dest(MakeFencedBytes(Cells(s), side, 0)),
          pixels(MakeFencedBytes(SurfaceBytes(s), side, 0)) {
        Randomise(src.bytes, src.size, random, highest);
        Randomise(dest.bytes, dest.size, random, 255);
        Randomise(pixels.bytes, pixels.size, random, 255);
        expectedDest = Bytes(dest.bytes, dest.size);
        expectedPixels = Bytes(pixels.bytes, pixels.size);
    }
    ~Case() {
        FreeFencedBytes(src);
        FreeFencedBytes(dest);
        FreeFencedBytes(pixels);
    }
    Case(const Case&) = delete;
    Case& operator=(const Case&) = delete;

    void ReferenceSpreadAndCopy(bool spread, bool copy) {
        if (spread) ReferenceSpread(expectedDest.data(), src.bytes, shape.width, shape.height);
        if (copy) ReferenceCopy(expectedPixels.data(), expectedDest.data(), shape.width, shape.height);
    }
    bool DestAsExpected() const { return Bytes(dest.bytes, dest.size) == expectedDest; }
    bool PixelsAsExpected() const { return Bytes(pixels.bytes, pixels.size) == expectedPixels; }

    Shape shape;
    FencedBytes src, dest, pixels;
    std::vector<uint8_t> expectedDest, expectedPixels;
};

// Names the sets that ran in row-kernels.txt beside the program, so that the
// test run can say which of them this machine never tried.
TEST(FireRows, EveryKernelSetSpreadsAndCopiesExactlyAsThePlainLoops) {
    std::mt19937 random(20240609);
    std::FILE* record = std::fopen("row-kernels.txt", "w");
    for (const FireRowKernels* rows : RowSetsThisProcessorRuns()) {
        if (record) std::fprintf(record, "%s\n", rows->name);
        for (Shape shape : Shapes()) {
            for (FenceSide side : {FenceSide::After, FenceSide::Before}) {
                for (int32_t highest : {255, 235, 15, 1}) {
                    const std::string what = Describe(*rows, shape, side);
                    {
                        Case c(shape, side, random, highest);
                        SpreadFireWith(*rows, c.dest.bytes, c.src.bytes, shape.width, shape.height);
                        c.ReferenceSpreadAndCopy(true, false);
                        ASSERT_TRUE(c.DestAsExpected()) << "spread, " << what;
                    }
                    {
                        Case c(shape, side, random, highest);
                        CopyToSurfaceWith(*rows, c.pixels.bytes, c.src.bytes, shape.width,
                                          shape.height);
                        ReferenceCopy(c.expectedPixels.data(), c.src.bytes, shape.width,
                                      shape.height);
                        ASSERT_TRUE(c.PixelsAsExpected()) << "copy, " << what;
                    }
                    {
                        Case c(shape, side, random, highest);
                        SpreadFireOntoSurfaceWith(*rows, c.dest.bytes, c.src.bytes,
                                                  c.pixels.bytes, shape.width, shape.height);
                        c.ReferenceSpreadAndCopy(true, true);
                        ASSERT_TRUE(c.DestAsExpected()) << "one pass, grid, " << what;
                        ASSERT_TRUE(c.PixelsAsExpected()) << "one pass, surface, " << what;
                    }
                }
            }
        }
    }
    if (record) std::fclose(record);
}

TEST(FireRows, TheProductRunsTheWidestSetThisProcessorHas) {
#if defined(EMBRIX_X86_FIRE_ROWS)
    EXPECT_EQ(&FastestFireRows(), ProcessorRunsAvx2() ? &Avx2FireRows : &Sse2FireRows);
#else
    EXPECT_EQ(&FastestFireRows(), &PortableFireRows);
#endif
}

// Long runs of the band-limited frame step on every kernel set beside the
// plain reference: both grids and the surface equal after every frame, and
// no surface row above the reported first changed row ever changes.
struct BandRun {
    int32_t width, height, fireType, newFire, frames;
    int32_t quietFrom, quietTo;  // frames that sow nothing: the band sinks, then rises again
    int32_t eraseEvery;          // the surface blackened as an erase leaves it
    int32_t unset;               // the highest byte that allocation left in one grid's lower half
};

// The reference would sow outside a grid less than two rows high.
constexpr int32_t NoSpots = INT32_MAX;

const BandRun Runs[] = {
    {960, 540, 8, 8, 2000, 0, 0, 997, 0},  // the defaults at 1920x1080, "Size" 2
    {960, 540, 1, 0, 2000, 0, 0, 0, 0},    // hand-edited: the highest flames
    {480, 270, 16, 16, 2000, 600, 1400, 0, 0},
    {480, 270, 4, 0, 1500, 300, 900, 211, 0},
    // Embers that never spread, left in edge columns that are never spread.
    {160, 120, 8, 8, 600, 1, 105, 0, 2},
    {97, 61, 4, 0, 1500, 500, 1000, 0, 235},
    {38, 28, 8, 8, 800, 0, 0, 50, 235},
    {3, 2, 1, 0, 200, 0, 0, 0, 235},
    {17, 4, 2, 1, 300, 100, 200, 7, 235},
    {2, 5, NoSpots, 0, 50, 0, 0, 0, 235},  // too narrow, too low: nothing spread
    {5, 1, NoSpots, 0, 50, 0, 0, 0, 235},
};

struct Copy {
    std::vector<uint8_t> a, b, pixels;
    FireField field;
};

TEST(FireBand, LongRunsKeepEveryByteOfThePlainReferenceOnEveryKernelSet) {
    std::mt19937 random(15);
    const std::vector<const FireRowKernels*> sets = RowSetsThisProcessorRuns();
    for (const BandRun& run : Runs) {
        const size_t cells = size_t(run.width) * size_t(run.height);
        const size_t stride = size_t(SurfaceStride(run.width));
        std::vector<uint8_t> start(2 * cells);
        for (size_t i = cells / 2; i < cells; ++i) start[i] = uint8_t(random() % (run.unset + 1));
        std::vector<Copy> copies(sets.size() + 1);  // the last is the reference
        for (Copy& c : copies) {
            c.a.assign(start.begin(), start.begin() + cells);
            c.b.assign(start.begin() + cells, start.end());
            c.pixels.assign(stride * size_t(run.height), 0);
            c.field = FireField{run.width, run.height, c.a.data(), c.b.data()};
        }
        Copy& reference = copies.back();
        newFireCountdown = referenceCountdown = 0;
        randomSeed = 1;
        bool shown = false;  // the surface starts black, as created
        for (int32_t frame = 1; frame <= run.frames; ++frame) {
            const bool quiet = frame >= run.quietFrom && frame < run.quietTo;
            const int32_t fireType = quiet ? NoSpots : run.fireType;
            const std::vector<uint8_t> before = reference.pixels;
            const uint32_t seed = randomSeed;
            const int32_t countdown = newFireCountdown;
            RunReferenceFrame(reference.field, reference.pixels.data(), fireType, run.newFire);
            for (size_t i = 0; i < sets.size(); ++i) {
                randomSeed = seed;
                newFireCountdown = countdown;
                Copy& c = copies[i];
                RunNewFireCountdown(c.field, fireType, run.newFire);
                const int32_t changed =
                    StepFireFrameWith(*sets[i], c.field, c.pixels.data(), shown);
                const std::string what =
                    std::string(sets[i]->name) + " " + std::to_string(run.width) + "x" +
                    std::to_string(run.height) + ", frame " + std::to_string(frame);
                ASSERT_TRUE(c.a == reference.a && c.b == reference.b &&
                            c.pixels == reference.pixels)
                    << what;
                ASSERT_TRUE(shown || changed == 0) << "a black surface is copied whole, " << what;
                const size_t same = size_t(std::max(changed, 0)) * stride;
                ASSERT_TRUE(std::equal(before.begin(), before.begin() + same, c.pixels.begin()))
                    << "a row above " << changed << " changed, " << what;
            }
            shown = !(run.eraseEvery && frame % run.eraseEvery == 0);
            if (!shown) {
                for (Copy& c : copies) std::fill(c.pixels.begin(), c.pixels.end(), 0);
            }
        }
    }
}

}  // namespace
