// Frames of the fire (countdown, sowing, spreading, the copy into a
// stride-aligned picture, swap) at warmed-up fires, in microseconds per
// frame: the plain reference, the product's fire record, and a memcpy of the
// grids' bytes as the floor, each over one grid or over one grid a monitor.
// Arguments: the desk (a row of Desks), "Fire type", "New fire". The table
// at the end sets them side by side for each desk and setting.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/ReferenceFire.h"
#include "fire/Fire.h"
#include "fire/FireColors.h"

namespace {

// A few hundred frames from zeroed grids: the flames have reached their height.
constexpr int32_t WarmUpFrames = 300;

struct Desk {
    const char* name;
    std::vector<std::pair<int32_t, int32_t>> grids;  // one a monitor
};

// 960x540 and 480x270 are 1920x1080 at "Size" 2 and 4; two monitors burn
// two fires, each on its own grid.
const Desk Desks[] = {
    {"960x540", {{960, 540}}},
    {"480x270", {{480, 270}}},
    {"160x120", {{160, 120}}},
    {"1920x1080", {{1920, 1080}}},
    {"256x192+320x256", {{256, 192}, {320, 256}}},
    {"960x540+960x540", {{960, 540}, {960, 540}}},
};

// One fire per grid, at "Size" 1 so that the grid is the area.
struct Fires {
    Fires(const Desk& desk, int32_t type, int32_t reload) : fireType(type), newFire(reload)
    {
        const FireSettingsRecord settings = {1, 0, newFire, fireType};
        uint32_t seed = 1;
        for (const auto& [w, h] : desk.grids) {
            fires.emplace_back();
            CreateFire(fires.back(), {0, 0, w, h}, settings, seed);
            clocks.push_back({seed++, 0});
        }
    }
    ~Fires()
    {
        for (Fire& fire : fires) DestroyFire(fire);
    }
    int32_t fireType, newFire;
    std::vector<Fire> fires;  // the reference runs on their grids and pictures too
    std::vector<ReferenceClock> clocks;
};

void ProductFrame(Fires& f)
{
    for (Fire& fire : f.fires) RunFireFrame(fire);
}

void ReferenceFrame(Fires& f)
{
    for (size_t i = 0; i < f.fires.size(); ++i) {
        Fire& fire = f.fires[i];
        RunReferenceFrame(fire.field, fire.surface, f.fireType, f.newFire, f.clocks[i]);
    }
}

}  // namespace

// bench/ReferenceFireAtO2.cpp
void RunReferenceFrameAtO2(FireField& field, uint8_t* pixels, int32_t fireType, int32_t newFire,
                           ReferenceClock& clock);

namespace {

void ReferenceFrameAtO2(Fires& f)
{
    for (size_t i = 0; i < f.fires.size(); ++i) {
        Fire& fire = f.fires[i];
        RunReferenceFrameAtO2(fire.field, fire.surface, f.fireType, f.newFire, f.clocks[i]);
    }
}

// The floor: the grids' bytes copied once, nothing computed.
void CopyFrame(Fires& f)
{
    for (Fire& fire : f.fires) {
        FireField& field = fire.field;
        std::memcpy(field.next, field.current, size_t(field.width) * size_t(field.height));
        std::swap(field.next, field.current);
    }
}

template <void (*Frame)(Fires&)>
void FireFrame(benchmark::State& state, const FireRowKernels* rows)
{
    Fires f(Desks[state.range(0)], int32_t(state.range(1)), int32_t(state.range(2)));
    for (Fire& fire : f.fires) fire.rows = rows ? rows : fire.rows;
    for (int32_t i = 0; i < WarmUpFrames; ++i) Frame(f);
    for (auto _ : state) {
        Frame(f);
        benchmark::DoNotOptimize(f.fires.data());
        benchmark::ClobberMemory();
    }
    state.counters["per_frame"] = benchmark::Counter(
        1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// "Fire type" 1 with "New fire" 0, from a hand-edited file, lifts the flames
// highest.
void Settings(benchmark::internal::Benchmark* b)
{
    for (int64_t desk = 0; desk < int64_t(std::size(Desks)); ++desk) {
        b->Args({desk, 8, 8});
        if (desk < 2) b->Args({desk, 1, 0});
    }
}

void Register(const char* name, void (*frame)(benchmark::State&, const FireRowKernels*),
              const FireRowKernels* rows = nullptr)
{
    benchmark::RegisterBenchmark(name, frame, rows)->Apply(Settings);
}

// The product and the reference must give the same grids and pictures, or
// the comparison means nothing.
bool FramesAgree()
{
    Fires product({"97x61+40x30", {{97, 61}, {40, 30}}}, 8, 8);
    Fires reference({"97x61+40x30", {{97, 61}, {40, 30}}}, 8, 8);
    for (int32_t i = 0; i < 300; ++i) {
        ProductFrame(product);
        ReferenceFrame(reference);
        for (size_t k = 0; k < product.fires.size(); ++k) {
            const Fire& a = product.fires[k];
            const Fire& b = reference.fires[k];
            const size_t cells = size_t(a.field.width) * size_t(a.field.height);
            const size_t bytes = size_t(SurfaceStride(a.field.width)) * size_t(a.field.height);
            if (std::memcmp(a.field.current, b.field.current, cells) != 0 ||
                std::memcmp(a.surface, b.surface, bytes) != 0)
                return false;
        }
    }
    return true;
}

// The console table, then us per frame of each desk and setting with
// plain / product (above 1: the product is faster) and product / memcpy
// (how far the product is from the floor).
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
            const std::string& setting = run.run_name.args;
            if (perFrame.find(setting) == perFrame.end()) settings.push_back(setting);
            perFrame[setting][run.run_name.function_name] = counter->second.value * 1e6;
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-16s %5s %9s %9s %9s %14s %14s\n", "us/frame", "fire", "plain", "product",
                    "memcpy", "plain/product", "product/memcpy");
        for (const std::string& setting : settings) {
            const std::map<std::string, double>& times = perFrame[setting];
            const auto plain = times.find("Plain");
            const auto product = times.find("Product");
            const auto copy = times.find("Memcpy");
            if (plain == times.end() || product == times.end() || copy == times.end()) continue;
            // "4/1/0": desk 4, "Fire type" 1, "New fire" 0.
            int desk = 0, type = 0, reload = 0;
            std::sscanf(setting.c_str(), "%d/%d/%d", &desk, &type, &reload);
            const std::string fire = std::to_string(type) + "/" + std::to_string(reload);
            std::printf("%-16s %5s %9.2f %9.2f %9.2f %14.2f %14.2f\n", Desks[desk].name,
                        fire.c_str(), plain->second, product->second, copy->second,
                        plain->second / product->second, product->second / copy->second);
        }
        std::printf("product rows: %s\n", FastestFireRows().name);
    }

  private:
    std::vector<std::string> settings;  // in the order of their first run
    std::map<std::string, std::map<std::string, double>> perFrame;
};

}  // namespace

int main(int argc, char** argv)
{
    if (!FramesAgree()) {
        std::fprintf(stderr, "the product's frame and the reference frame disagree\n");
        return 1;
    }
    Register("Plain", FireFrame<ReferenceFrame>);
    Register("Product", FireFrame<ProductFrame>);
    Register("Memcpy", FireFrame<CopyFrame>);
    Register("PlainO2", FireFrame<ReferenceFrameAtO2>);
    // The product's frame on each set of row kernels.
    Register("Portable", FireFrame<ProductFrame>, &PortableFireRows);
#if defined(EMBRIX_X86_FIRE_ROWS)
    Register("Sse2", FireFrame<ProductFrame>, &Sse2FireRows);
    if (ProcessorRunsAvx2()) Register("Avx2", FireFrame<ProductFrame>, &Avx2FireRows);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
