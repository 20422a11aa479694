// One frame step of the fire (countdown, sowing, spreading, the copy into a
// stride-aligned surface, swap) in ns per cell: the plain reference, the
// product's path, and a memcpy of the grid's bytes as the floor. The table at
// the end sets them side by side for each grid.
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

constexpr int32_t FireType = 8;
constexpr int32_t NewFire = 8;
constexpr int32_t WarmUpFrames = 200;  // long enough for the flames to reach the top

void ProductFrame(FireField& field, uint8_t* pixels) {
    RunNewFireCountdown(field, FireType, NewFire);
    SpreadFireOntoSurface(field.next, field.current, pixels, field.width, field.height);
    std::swap(field.next, field.current);
}

void ReferenceFrame(FireField& field, uint8_t* pixels) {
    RunReferenceFrame(field, pixels, FireType, NewFire);
}

}  // namespace

// bench/ReferenceFireAtO2.cpp
extern int32_t referenceCountdownAtO2;
void RunReferenceFrameAtO2(FireField& field, uint8_t* pixels, int32_t fireType, int32_t newFire);

namespace {

void ReferenceFrameAtO2(FireField& field, uint8_t* pixels) {
    RunReferenceFrameAtO2(field, pixels, FireType, NewFire);
}

// The floor: the grid's bytes copied once, nothing computed.
void CopyFrame(FireField& field, uint8_t*) {
    std::memcpy(field.next, field.current, size_t(field.width) * size_t(field.height));
    std::swap(field.next, field.current);
}

// The product's frame on one set of row kernels, and in two passes, to show
// what the dispatch and the fusion each bring.
const FireRowKernels* forcedRows = &PortableFireRows;

void FusedFrameOn(FireField& field, uint8_t* pixels) {
    RunNewFireCountdown(field, FireType, NewFire);
    SpreadFireOntoSurfaceWith(*forcedRows, field.next, field.current, pixels, field.width,
                              field.height);
    std::swap(field.next, field.current);
}

void TwoPassFrame(FireField& field, uint8_t* pixels) {
    RunNewFireCountdown(field, FireType, NewFire);
    SpreadFire(field.next, field.current, field.width, field.height);
    CopyToSurface(pixels, field.next, field.width, field.height);
    std::swap(field.next, field.current);
}

template <void (*Frame)(FireField&, uint8_t*)>
void FireFrame(benchmark::State& state) {
    const int32_t width = static_cast<int32_t>(state.range(0));
    const int32_t height = static_cast<int32_t>(state.range(1));
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
    state.counters["per_cell"] = benchmark::Counter(
        double(a.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <const FireRowKernels* Rows>
void FireFrameOn(benchmark::State& state) {
    forcedRows = Rows;
    FireFrame<FusedFrameOn>(state);
}

void Grids(benchmark::internal::Benchmark* b) {
    for (auto size : {std::make_pair(160, 120), std::make_pair(256, 192), std::make_pair(640, 512),
                      std::make_pair(960, 540), std::make_pair(1920, 1080)}) {
        b->Args({size.first, size.second});
    }
}

BENCHMARK_TEMPLATE(FireFrame, ReferenceFrame)->Name("Plain")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrame, ProductFrame)->Name("Product")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrame, CopyFrame)->Name("Memcpy")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrame, ReferenceFrameAtO2)->Name("PlainO2")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrame, TwoPassFrame)->Name("TwoPasses")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrameOn, &PortableFireRows)->Name("Portable")->Apply(Grids);
#if defined(EMBRIX_X86_FIRE_ROWS)
BENCHMARK_TEMPLATE(FireFrameOn, &Sse2FireRows)->Name("Sse2")->Apply(Grids);
#endif

#if defined(EMBRIX_X86_FIRE_ROWS)
void RegisterAvx2() {
    if (ProcessorRunsAvx2()) {
        benchmark::RegisterBenchmark("Avx2", FireFrameOn<&Avx2FireRows>)->Apply(Grids);
    }
}
#endif

// Both frames must give the same grids and surfaces, or the comparison means
// nothing.
bool FramesAgree() {
    const int32_t width = 97, height = 61;
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

// The console table, then ns per cell of each grid for the three frames with
// plain / product (above 1: the product is faster) and product / memcpy
// (how far the product is from the floor).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto counter = run.counters.find("per_cell");
            // With repetitions the median, reported after the single runs, wins.
            const bool usable = run.run_type == Run::RT_Iteration || run.aggregate_name == "median";
            if (run.error_occurred || !usable || counter == run.counters.end()) continue;
            const std::string& grid = run.run_name.args;
            if (perCell.find(grid) == perCell.end()) grids.push_back(grid);
            perCell[grid][run.run_name.function_name] = counter->second.value * 1e9;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-10s %9s %9s %9s %14s %14s\n", "ns/cell", "plain", "product", "memcpy",
                    "plain/product", "product/memcpy");
        for (const std::string& grid : grids) {
            const std::map<std::string, double>& times = perCell[grid];
            const auto plain = times.find("Plain");
            const auto product = times.find("Product");
            const auto copy = times.find("Memcpy");
            if (plain == times.end() || product == times.end() || copy == times.end()) continue;
            std::string name = grid;
            for (char& ch : name) {
                if (ch == '/') ch = 'x';
            }
            std::printf("%-10s %9.4f %9.4f %9.4f %14.2f %14.2f\n", name.c_str(), plain->second,
                        product->second, copy->second, plain->second / product->second,
                        product->second / copy->second);
        }
        std::printf("product rows: %s\n", FastestFireRows().name);
    }

private:
    std::vector<std::string> grids;  // in the order of their first run
    std::map<std::string, std::map<std::string, double>> perCell;
};

}  // namespace

int main(int argc, char** argv) {
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
