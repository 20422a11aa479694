// Every set of row kernels, and the product's frame step, against the plain
// reference loops: same bytes everywhere, on grids of many shapes, with the
// grids fenced so that any access outside them faults.
#include <gtest/gtest.h>

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

// The one pass over the rows must do what the two steps it stands for do,
// including where one of them does nothing.
TEST(FireRows, OnePassEqualsSpreadThenCopyForDegenerateGridsAndMissingBlocks) {
    std::mt19937 random(7);
    const Shape shapes[] = {{0, 5}, {1, 5}, {2, 5}, {5, 0}, {5, 1}, {3, 1}, {3, 2}, {65536, 2}, {-3, -4}};
    for (Shape shape : shapes) {
        for (int32_t missing = 0; missing < 4; ++missing) {
            const Shape sized{shape.width > 0 ? shape.width : 0, shape.height > 0 ? shape.height : 0};
            Case one(sized, FenceSide::After, random, 255);
            std::vector<uint8_t> src = Bytes(one.src.bytes, one.src.size);
            std::vector<uint8_t> dest = Bytes(one.dest.bytes, one.dest.size);
            std::vector<uint8_t> pixels = Bytes(one.pixels.bytes, one.pixels.size);
            uint8_t* const destBlock = missing == 1 ? nullptr : one.dest.bytes;
            const uint8_t* const srcBlock = missing == 2 ? nullptr : one.src.bytes;
            uint8_t* const pixelBlock = missing == 3 ? nullptr : one.pixels.bytes;
            SpreadFireOntoSurface(destBlock, srcBlock, pixelBlock, shape.width, shape.height);

            uint8_t* const destCopy = missing == 1 || dest.empty() ? nullptr : dest.data();
            const uint8_t* const srcCopy = missing == 2 || src.empty() ? nullptr : src.data();
            uint8_t* const pixelCopy = missing == 3 || pixels.empty() ? nullptr : pixels.data();
            SpreadFire(destCopy, srcCopy, shape.width, shape.height);
            CopyToSurface(pixelCopy, destCopy, shape.width, shape.height);
            const std::string what = std::to_string(shape.width) + "x" +
                                     std::to_string(shape.height) + " missing " +
                                     std::to_string(missing);
            EXPECT_EQ(Bytes(one.dest.bytes, one.dest.size), dest) << what;
            EXPECT_EQ(Bytes(one.pixels.bytes, one.pixels.size), pixels) << what;
        }
    }
}

// Whole frames as the effect runs them, from grids that allocation left
// unset, against the reference frame: every grid and surface byte, every frame.
TEST(FireRows, ProductFramesFollowTheReferenceFrameByFrame) {
    std::mt19937 random(99);
    const Shape shapes[] = {{3, 2}, {4, 2}, {17, 3}, {38, 28}, {97, 61}, {160, 120}};
    for (Shape shape : shapes) {
        for (int32_t newFire : {0, 3, 8}) {
            const size_t cells = Cells(shape);
            std::vector<uint8_t> a(cells), b(cells), pixels(SurfaceBytes(shape));
            Randomise(a.data(), cells, random, 255);
            Randomise(b.data(), cells, random, 255);
            Randomise(pixels.data(), pixels.size(), random, 255);
            std::vector<uint8_t> c = a, d = b, plainPixels = pixels;
            FireField product{shape.width, shape.height, a.data(), b.data()};
            FireField reference{shape.width, shape.height, c.data(), d.data()};
            newFireCountdown = referenceCountdown = 0;
            for (int32_t frame = 1; frame <= 150; ++frame) {
                randomSeed = uint32_t(frame) * 7919u;
                RunNewFireCountdown(product, 4, newFire);
                SpreadFireOntoSurface(product.next, product.current, pixels.data(), shape.width,
                                      shape.height);
                std::swap(product.next, product.current);
                randomSeed = uint32_t(frame) * 7919u;
                RunReferenceFrame(reference, plainPixels.data(), 4, newFire);
                ASSERT_TRUE(a == c && b == d && pixels == plainPixels)
                    << shape.width << "x" << shape.height << " new fire " << newFire
                    << ", frame " << frame;
            }
        }
    }
}

}  // namespace
