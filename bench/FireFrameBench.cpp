// One frame step of the fire (countdown, sowing, spreading, the copy into a
// stride-aligned surface, swap) at a warmed-up fire, in microseconds per
// frame: the plain reference, the product's path, and a memcpy of the grid's
// bytes as the floor. Arguments: width, height, "Fire type", "New fire". The
// table at the end sets them side by side for each grid and setting.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/ReferenceFire.h"
#include "fire/FireColors.h"
#include "fire/FireFrameStep.h"
#include "fire/FireSimulation.h"

namespace {

int32_t fireType = 8;
int32_t newFire = 8;
// A few hundred frames from zeroed grids: the flames have reached their height.
constexpr int32_t WarmUpFrames = 300;

// As the effect runs it: the rows that can hold heat, the surface kept.
void ProductFrame(FireField& field, uint8_t* pixels)
{
    RunNewFireCountdown(field, fireType, newFire);
    StepFireFrame(field, pixels, true);
}

void ReferenceFrame(FireField& field, uint8_t* pixels)
{
    RunReferenceFrame(field, pixels, fireType, newFire);
}

}  // namespace

// bench/ReferenceFireAtO2.cpp
extern int32_t referenceCountdownAtO2;
void RunReferenceFrameAtO2(FireField& field, uint8_t* pixels, int32_t fireType, int32_t newFire);

namespace {

void ReferenceFrameAtO2(FireField& field, uint8_t* pixels)
{
    RunReferenceFrameAtO2(field, pixels, fireType, newFire);
}

// The floor: the grid's bytes copied once, nothing computed.
void CopyFrame(FireField& field, uint8_t*)
{
    std::memcpy(field.next, field.current, size_t(field.width) * size_t(field.height));
    std::swap(field.next, field.current);
}

// The product's frame on one set of row kernels, and over the whole grid in
// one pass and in two, to show what the dispatch, the band and the fusion
// each bring.
const FireRowKernels* forcedRows = &PortableFireRows;

void BandFrameOn(FireField& field, uint8_t* pixels)
{
    RunNewFireCountdown(field, fireType, newFire);
    StepFireFrameWith(*forcedRows, field, pixels, true);
}

void WholeGridFrame(FireField& field, uint8_t* pixels)
{
    RunNewFireCountdown(field, fireType, newFire);
    SpreadFireOntoSurface(field.next, field.current, pixels, field.width, field.height);
    std::swap(field.next, field.current);
}

void TwoPassFrame(FireField& field, uint8_t* pixels)
{
    RunNewFireCountdown(field, fireType, newFire);
    SpreadFire(field.next, field.current, field.width, field.height);
    CopyToSurface(pixels, field.next, field.width, field.height);
    std::swap(field.next, field.current);
}

template <void (*Frame)(FireField&, uint8_t*)>
void FireFrame(benchmark::State& state)
{
    const int32_t width = static_cast<int32_t>(state.range(0));
    const int32_t height = static_cast<int32_t>(state.range(1));
    fireType = static_cast<int32_t>(state.range(2));
    newFire = static_cast<int32_t>(state.range(3));
    std::vector<uint8_t> a(size_t(width) * size_t(height)), b(a.size());
    std::vector<uint8_t> pixels(size_t(SurfaceStride(width)) * size_t(height));
    FireField field{width, height, a.data(), b.data()};
    randomSeed = 1;
    newFireCountdown = referenceCountdown = referenceCountdownAtO2 = 0;
    for (int32_t i = 0; i < WarmUpFrames; ++i) Frame(field, pixels.data());
    for (auto _ : state) {
        Frame(field, pixels.data());
        benchmark::DoNotOptimize(field.next);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.counters["per_frame"] = benchmark::Counter(
        1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <const FireRowKernels* Rows>
void FireFrameOn(benchmark::State& state)
{
    forcedRows = Rows;
    FireFrame<BandFrameOn>(state);
}

// 960x540 and 480x270 are 1920x1080 at "Size" 2 and 4. "Fire type" 1 with
// "New fire" 0, from a hand-edited file, lifts the flames highest.
void Grids(benchmark::internal::Benchmark* b)
{
    for (auto size : {std::make_pair(960, 540), std::make_pair(480, 270)}) {
        b->Args({size.first, size.second, 8, 8});
        b->Args({size.first, size.second, 1, 0});
    }
    b->Args({160, 120, 8, 8});
    b->Args({1920, 1080, 8, 8});
}

BENCHMARK_TEMPLATE(FireFrame, ReferenceFrame)->Name("Plain")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrame, ProductFrame)->Name("Product")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrame, CopyFrame)->Name("Memcpy")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrame, ReferenceFrameAtO2)->Name("PlainO2")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrame, WholeGridFrame)->Name("WholeGrid")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrame, TwoPassFrame)->Name("TwoPasses")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrameOn, &PortableFireRows)->Name("Portable")->Apply(Grids);
#if defined(EMBRIX_X86_FIRE_ROWS)
BENCHMARK_TEMPLATE(FireFrameOn, &Sse2FireRows)->Name("Sse2")->Apply(Grids);
#endif

#if defined(EMBRIX_X86_FIRE_ROWS)
void RegisterAvx2()
{
    if (ProcessorRunsAvx2()) {
        benchmark::RegisterBenchmark("Avx2", FireFrameOn<&Avx2FireRows>)->Apply(Grids);
    }
}
#endif

// Both frames must give the same grids and surfaces, or the comparison means
// nothing.
bool FramesAgree()
{
    const int32_t width = 97, height = 61;
    fireType = newFire = 8;
    const size_t cells = size_t(width) * size_t(height);
    const size_t surface = size_t(SurfaceStride(width)) * size_t(height);
    std::vector<uint8_t> a(cells), b(cells), c(cells), d(cells), fast(surface), plain(surface);
    FireField product{width, height, a.data(), b.data()};
    FireField reference{width, height, c.data(), d.data()};
    const uint32_t seed = randomSeed;
    newFireCountdown = referenceCountdown = 0;
    for (int32_t i = 0; i < 300; ++i) {
        randomSeed = seed + uint32_t(i);
        ProductFrame(product, fast.data());
        randomSeed = seed + uint32_t(i);
        ReferenceFrame(reference, plain.data());
        if (std::memcmp(product.current, reference.current, cells) != 0 || fast != plain) {
            return false;
        }
    }
    return true;
}

// The console table, then us per frame of each grid and setting for the three
// frames with plain / product (above 1: the product is faster) and
// product / memcpy (how far the product is from the floor).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto counter = run.counters.find("per_frame");
            // With repetitions the median, reported after the single runs, wins.
            const bool usable = run.run_type == Run::RT_Iteration || run.aggregate_name == "median";
            if (run.error_occurred || !usable || counter == run.counters.end()) continue;
            const std::string& grid = run.run_name.args;
            if (perFrame.find(grid) == perFrame.end()) grids.push_back(grid);
            perFrame[grid][run.run_name.function_name] = counter->second.value * 1e6;
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-12s %5s %9s %9s %9s %14s %14s\n", "us/frame", "fire", "plain", "product",
                    "memcpy", "plain/product", "product/memcpy");
        for (const std::string& grid : grids) {
            const std::map<std::string, double>& times = perFrame[grid];
            const auto plain = times.find("Plain");
            const auto product = times.find("Product");
            const auto copy = times.find("Memcpy");
            if (plain == times.end() || product == times.end() || copy == times.end()) continue;
            // "960/540/1/0": grid 960x540, "Fire type" 1, "New fire" 0.
            int w = 0, h = 0, type = 0, reload = 0;
            std::sscanf(grid.c_str(), "%d/%d/%d/%d", &w, &h, &type, &reload);
            const std::string name = std::to_string(w) + "x" + std::to_string(h);
            const std::string fire = std::to_string(type) + "/" + std::to_string(reload);
            std::printf("%-12s %5s %9.2f %9.2f %9.2f %14.2f %14.2f\n", name.c_str(), fire.c_str(),
                        plain->second, product->second, copy->second,
                        plain->second / product->second, product->second / copy->second);
        }
        std::printf("product rows: %s\n", FastestFireRows().name);
    }

  private:
    std::vector<std::string> grids;  // in the order of their first run
    std::map<std::string, std::map<std::string, double>> perFrame;
};

}  // namespace

int main(int argc, char** argv)
{
    if (!FramesAgree()) {
        std::fprintf(stderr, "the product's frame and the reference frame disagree\n");
        return 1;
    }
#if defined(EMBRIX_X86_FIRE_ROWS)
    RegisterAvx2();
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
