// Every set of row kernels, and the frame step, byte for byte against the
// plain reference loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <random>
#include <utility>
#include <vector>

#include "bench/ReferenceFire.h"
#include "fire/FireColors.h"
#include "fire/FireFrameStep.h"
#include "fire/FireRowKernels.h"
#include "fire/FireSimulation.h"

namespace {

std::vector<const FireRowKernels*> RowSetsThisProcessorRuns()
{
    std::vector<const FireRowKernels*> sets{&PortableFireRows};
#if defined(EMBRIX_X86_FIRE_ROWS)
    sets.push_back(&Sse2FireRows);
    if (ProcessorRunsAvx2()) sets.push_back(&Avx2FireRows);
#endif
    return sets;
}

std::vector<uint8_t> RandomBytes(size_t size, std::mt19937& random, int32_t highest)
{
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) b = uint8_t(random() % uint32_t(highest + 1));
    return bytes;
}

// Every width up to past two 32-cell steps at the smallest heights, and a few
// larger grids, in blocks of exactly their size. row-kernels.txt names the
// sets that ran, so that the test run can say which this machine never tried.
TEST(FireRows, EveryKernelSetSpreadsAndCopiesExactlyAsThePlainLoops)
{
    std::vector<std::pair<int32_t, int32_t>> shapes = {{17, 3},   {33, 9},   {97, 61},
                                                       {255, 17}, {1000, 3}, {1920, 5}};
    for (int32_t h = 1; h <= 4; ++h) {
        for (int32_t w = 1; w <= 70; ++w) shapes.push_back({w, h});
    }
    std::mt19937 random(20240609);
    std::FILE* record = std::fopen("row-kernels.txt", "w");
    for (const FireRowKernels* rows : RowSetsThisProcessorRuns()) {
        if (record) std::fprintf(record, "%s\n", rows->name);
        for (const auto& [w, h] : shapes) {
            const size_t cells = size_t(w) * size_t(h), bytes = size_t(SurfaceStride(w)) * h;
            for (int32_t highest : {255, 235, 15, 1}) {
                const std::vector<uint8_t> src = RandomBytes(cells, random, highest);
                std::vector<uint8_t> dest = RandomBytes(cells, random, 255);
                std::vector<uint8_t> pixels = RandomBytes(bytes, random, 255), copied = pixels;
                std::vector<uint8_t> wantDest = dest, wantPixels = pixels, wantCopied = pixels;
                SpreadFireOntoSurfaceWith(*rows, dest.data(), src.data(), pixels.data(), w, h);
                ReferenceSpread(wantDest.data(), src.data(), w, h);
                ReferenceCopy(wantPixels.data(), wantDest.data(), w, h);
                CopyToSurfaceWith(*rows, copied.data(), src.data(), w, h);
                ReferenceCopy(wantCopied.data(), src.data(), w, h);
                ASSERT_TRUE(dest == wantDest && pixels == wantPixels && copied == wantCopied)
                    << rows->name << " " << w << "x" << h;
            }
        }
    }
    if (record) std::fclose(record);
    EXPECT_EQ(&FastestFireRows(), RowSetsThisProcessorRuns().back());
}

// Both grids and the surface equal after every frame, and no surface row
// above the reported first changed row ever changes. Once warm, the defaults
// keep the flames, and so the rows reported, to the bottom eighth.
struct BandRun {
    const char* name;
    int32_t width, height, fireType, newFire, frames, warmFrom;
    int32_t quietFrom, quietTo;  // frames that sow nothing: the band sinks, then rises again
    int32_t eraseEvery;          // the surface blackened as an erase leaves it
    int32_t unset;               // the highest byte that allocation left in one grid's lower half
};

// The reference would sow outside a grid less than two rows high.
constexpr int32_t NoSpots = INT32_MAX;

const BandRun Runs[] = {
    {"ScreenDefaults", 960, 540, 8, 8, 2000, 300, 0, 0, 997, 0},   // 1920x1080 at "Size" 2
    {"ScreenHighestFlames", 960, 540, 1, 0, 2000, 0, 0, 0, 0, 0},  // hand-edited
    {"QuietThenWild", 480, 270, 16, 16, 2000, 0, 600, 1400, 0, 0},
    {"QuietWithErases", 480, 270, 4, 0, 1500, 0, 300, 900, 211, 0},
    // Embers that never spread, left in edge columns that are never spread.
    {"EmbersAtTheEdges", 160, 120, 8, 8, 600, 0, 1, 105, 0, 2},
    {"OddShape", 97, 61, 4, 0, 1500, 0, 500, 1000, 0, 235},
    {"Preview", 38, 28, 8, 8, 800, 0, 0, 0, 50, 235},
    {"Smallest", 3, 2, 1, 0, 200, 0, 0, 0, 0, 235},
    {"Low", 17, 4, 2, 1, 300, 0, 100, 200, 7, 235},
    {"TooNarrow", 2, 5, NoSpots, 0, 50, 0, 0, 0, 0, 235},  // nothing spread
    {"TooLow", 5, 1, NoSpots, 0, 50, 0, 0, 0, 0, 235},
};

struct Copy {
    std::vector<uint8_t> a, b, pixels;
    FireField field;
};

class FireBand : public ::testing::TestWithParam<BandRun> {};

TEST_P(FireBand, LongRunsKeepEveryByteOfThePlainReferenceOnEveryKernelSet)
{
    std::mt19937 random(15);
    const std::vector<const FireRowKernels*> sets = RowSetsThisProcessorRuns();
    const BandRun& run = GetParam();
    const size_t cells = size_t(run.width) * run.height, stride = SurfaceStride(run.width);
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
            // The last set is the one the saver's own step takes.
            const int32_t changed =
                i + 1 == sets.size() ? StepFireFrame(c.field, c.pixels.data(), shown)
                                     : StepFireFrameWith(*sets[i], c.field, c.pixels.data(), shown);
            ASSERT_TRUE(c.a == reference.a && c.b == reference.b && c.pixels == reference.pixels)
                << sets[i]->name << ", frame " << frame;
            // A black surface is copied whole; above the first changed row nothing changes.
            const size_t same = size_t(std::max(changed, 0)) * stride;
            ASSERT_TRUE(!run.warmFrom || frame < run.warmFrom || !shown ||
                        changed >= run.height - run.height / 8)
                << changed << ", " << sets[i]->name << ", frame " << frame;
            ASSERT_TRUE((shown || changed == 0) &&
                        std::equal(before.begin(), before.begin() + same, c.pixels.begin()))
                << "rows from " << changed << ", " << sets[i]->name << ", frame " << frame;
        }
        shown = !(run.eraseEvery && frame % run.eraseEvery == 0);
        if (!shown) {
            for (Copy& c : copies) std::fill(c.pixels.begin(), c.pixels.end(), 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, FireBand, ::testing::ValuesIn(Runs),
                         [](const ::testing::TestParamInfo<BandRun>& row) {
                             return row.param.name;
                         });

}  // namespace
