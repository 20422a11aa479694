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
#include "fire/Fire.h"
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
// larger grids, in blocks of exactly their size, spread and copied whole.
// row-kernels.txt names the sets that ran, so that the test run can say
// which this machine never tried.
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
                std::vector<uint8_t> src = RandomBytes(cells, random, highest);
                std::vector<uint8_t> dest = RandomBytes(cells, random, 255);
                std::vector<uint8_t> pixels = RandomBytes(bytes, random, 255);
                std::vector<uint8_t> wantDest = dest, wantPixels = pixels;
                FireField field = {w, h, dest.data(), src.data()};
                StepFireFrame(*rows, field, pixels.data());
                ReferenceSpread(wantDest.data(), src.data(), w, h);
                ReferenceCopy(wantPixels.data(), wantDest.data(), w, h);
                ASSERT_TRUE(dest == wantDest && pixels == wantPixels &&
                            field.current == dest.data())
                    << rows->name << " " << w << "x" << h;
            }
        }
    }
    if (record) std::fclose(record);
    EXPECT_EQ(&FastestFireRows(), RowSetsThisProcessorRuns().back());
}

// Each set's fire, as the hosts drive it, keeps both grids and the picture
// equal to the reference's after every frame, and no picture row above the
// first it reports ever changes; after the host lost the picture it reports
// all of it. Once warm, the defaults keep the flames, and so the rows
// reported, to the bottom eighth.
struct BandRun {
    const char* name;
    int32_t width, height, fireType, newFire, frames, warmFrom;
    int32_t quietFrom, quietTo;  // frames that sow nothing: the band sinks, then rises again
    int32_t lostEvery;           // the host loses the picture
    int32_t unset;               // the highest byte left in the lower half of one grid
};

// The reference would sow outside a grid less than two rows high.
constexpr int32_t NoSpots = INT32_MAX;

const BandRun Runs[] = {
    {"ScreenDefaults", 960, 540, 8, 8, 2000, 300, 0, 0, 997, 0},   // 1920x1080 at "Size" 2
    {"ScreenHighestFlames", 960, 540, 1, 0, 2000, 0, 0, 0, 0, 0},  // hand-edited
    {"QuietThenWild", 480, 270, 16, 16, 2000, 0, 600, 1400, 0, 0},
    {"QuietWithLosses", 480, 270, 4, 0, 1500, 0, 300, 900, 211, 0},
    // Embers that never spread, left in edge columns that are never spread.
    {"EmbersAtTheEdges", 160, 120, 8, 8, 600, 0, 1, 105, 0, 2},
    {"OddShape", 97, 61, 4, 0, 1500, 0, 500, 1000, 0, 235},
    {"Preview", 38, 28, 8, 8, 800, 0, 0, 0, 50, 235},
    {"Smallest", 3, 2, 1, 0, 200, 0, 0, 0, 0, 235},
    {"Low", 17, 4, 2, 1, 300, 0, 100, 200, 7, 235},
    {"TooNarrow", 2, 5, NoSpots, 0, 50, 0, 0, 0, 0, 235},  // nothing spread
    {"TooLow", 5, 1, NoSpots, 0, 50, 0, 0, 0, 0, 235},
};

class FireBand : public ::testing::TestWithParam<BandRun> {};

TEST_P(FireBand, LongRunsKeepEveryByteOfThePlainReferenceOnEveryKernelSet)
{
    std::mt19937 random(15);
    const std::vector<const FireRowKernels*> sets = RowSetsThisProcessorRuns();
    const BandRun& run = GetParam();
    const size_t cells = size_t(run.width) * run.height;
    const size_t bytes = size_t(SurfaceStride(run.width)) * run.height;
    std::vector<uint8_t> next(cells), current(cells), pixels(bytes);
    for (size_t i = cells / 2; i < cells; ++i) next[i] = uint8_t(random() % (run.unset + 1));
    std::vector<Fire> fires(sets.size());
    for (size_t i = 0; i < sets.size(); ++i) {
        CreateFire(fires[i], {0, 0, run.width, run.height}, {1, 0, run.newFire, run.fireType}, 1);
        fires[i].rows = sets[i];
        std::copy(next.begin(), next.end(), fires[i].field.next);
    }
    FireField reference = {run.width, run.height, next.data(), current.data()};
    ReferenceClock clock = {1, 0};
    for (int32_t frame = 1; frame <= run.frames; ++frame) {
        const bool quiet = frame >= run.quietFrom && frame < run.quietTo;
        const int32_t fireType = quiet ? NoSpots : run.fireType;
        const std::vector<uint8_t> before = pixels;
        RunReferenceFrame(reference, pixels.data(), fireType, run.newFire, clock);
        const bool lost = run.lostEvery && frame % run.lostEvery == 1;
        for (size_t i = 0; i < sets.size(); ++i) {
            Fire& fire = fires[i];
            fire.settings.fireType = fireType;
            const int32_t from = RunFireFrame(fire);
            ASSERT_TRUE(
                std::equal(reference.current, reference.current + cells, fire.field.current) &&
                std::equal(reference.next, reference.next + cells, fire.field.next) &&
                std::equal(pixels.begin(), pixels.end(), fire.surface))
                << sets[i]->name << ", frame " << frame;
            ASSERT_TRUE(!run.warmFrom || frame < run.warmFrom || lost ||
                        from >= run.height - run.height / 8)
                << from << ", " << sets[i]->name << ", frame " << frame;
            const size_t same = size_t(std::max(from, 0)) * (bytes / run.height);
            ASSERT_TRUE((from == 0 || (frame > 1 && !lost)) &&
                        std::equal(before.begin(), before.begin() + same, pixels.begin()))
                << "rows from " << from << ", " << sets[i]->name << ", frame " << frame;
            if (run.lostEvery && frame % run.lostEvery == 0) ShowWholeFire(fire);
        }
    }
    for (Fire& fire : fires) DestroyFire(fire);
}

INSTANTIATE_TEST_SUITE_P(Runs, FireBand, ::testing::ValuesIn(Runs),
                         [](const ::testing::TestParamInfo<BandRun>& row) {
                             return row.param.name;
                         });

}  // namespace
