// One frame of the fire (countdown, sowing, spreading, swap) against the plain
// reference, in ns per cell, with the ratio of the two at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/ReferenceFire.h"
#include "fire/FireSimulation.h"

namespace {

constexpr int32_t FireType = 8;
constexpr int32_t NewFire = 8;
constexpr int32_t WarmUpFrames = 200;  // long enough for the flames to reach the top

void RunFrame(FireField& field) {
    RunNewFireCountdown(field, FireType, NewFire);
    SpreadFire(field.next, field.current, field.width, field.height);
    std::swap(field.next, field.current);
}

void ReferenceFrame(FireField& field) {
    RunReferenceFrame(field, FireType, NewFire);
}

template <void (*Frame)(FireField&)>
void FireFrame(benchmark::State& state) {
    const int32_t width = static_cast<int32_t>(state.range(0));
    const int32_t height = static_cast<int32_t>(state.range(1));
    std::vector<uint8_t> a(size_t(width) * size_t(height)), b(a.size());
    FireField field{width, height, a.data(), b.data()};
    randomSeed = 1;
    newFireCountdown = referenceCountdown = 0;
    for (int32_t i = 0; i < WarmUpFrames; ++i) Frame(field);
    for (auto _ : state) {
        Frame(field);
        benchmark::DoNotOptimize(field.next);
        benchmark::ClobberMemory();
    }
    state.counters["per_cell"] = benchmark::Counter(
        double(a.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Grids(benchmark::internal::Benchmark* b) {
    for (auto size : {std::make_pair(160, 120), std::make_pair(256, 192), std::make_pair(640, 512),
                      std::make_pair(960, 540), std::make_pair(1920, 1080)}) {
        b->Args({size.first, size.second});
    }
}

BENCHMARK_TEMPLATE(FireFrame, RunFrame)->Name("Fire")->Apply(Grids);
BENCHMARK_TEMPLATE(FireFrame, ReferenceFrame)->Name("Reference")->Apply(Grids);

// Both frames must give the same grids, or the comparison means nothing.
bool FramesAgree() {
    const int32_t width = 97, height = 61;
    std::vector<uint8_t> a(width * height), b(a.size()), c(a.size()), d(a.size());
    FireField fast{width, height, a.data(), b.data()};
    FireField plain{width, height, c.data(), d.data()};
    const uint32_t seed = randomSeed;
    newFireCountdown = referenceCountdown = 0;
    for (int32_t i = 0; i < 300; ++i) {
        randomSeed = seed + uint32_t(i);
        RunFrame(fast);
        randomSeed = seed + uint32_t(i);
        ReferenceFrame(plain);
        if (std::memcmp(fast.current, plain.current, a.size()) != 0) return false;
    }
    return true;
}

// The console table, then ns per cell of each grid for both frames and
// their ratio (plain / fire: above 1 means the fire core is faster).
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
        std::printf("\n%-10s %14s %14s %8s\n", "grid", "fire ns/cell", "plain ns/cell", "ratio");
        for (const std::string& grid : grids) {
            const std::map<std::string, double>& times = perCell[grid];
            const auto fire = times.find("Fire");
            const auto plain = times.find("Reference");
            if (fire == times.end() || plain == times.end()) continue;
            std::string name = grid;
            for (char& c : name) {
                if (c == '/') c = 'x';
            }
            std::printf("%-10s %14.3f %14.3f %8.2f\n", name.c_str(), fire->second, plain->second,
                        plain->second / fire->second);
        }
    }

private:
    std::vector<std::string> grids;  // in the order of their first run
    std::map<std::string, std::map<std::string, double>> perCell;
};

}  // namespace

int main(int argc, char** argv) {
    if (!FramesAgree()) {
        std::fprintf(stderr, "the fire frame and the reference frame disagree\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
