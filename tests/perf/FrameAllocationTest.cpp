// Frames allocate nothing and create nothing: the frame step on its own on
// every kernel set, and whole frames of the saver window, seen through the
// allocator's entries (wrapped at link time, see inprocess.cmake), the
// replaced operator new, the heaps and a graphics-handle probe.
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "fire/FireColors.h"
#include "fire/FireFrameStep.h"
#include "fire/FireSimulation.h"
#include "fire/FireWindowProc.h"
#include "support/WindowHarness.h"

uint64_t Allocations;  // malloc, calloc, realloc, new
uint64_t Releases;     // free and delete of a block

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);
void* __wrap_malloc(size_t size) { return ++Allocations, __real_malloc(size); }
void* __wrap_calloc(size_t count, size_t size) { return ++Allocations, __real_calloc(count, size); }
void* __wrap_realloc(void* block, size_t size) { return ++Allocations, __real_realloc(block, size); }
void __wrap_free(void* block)
{
    if (block) ++Releases;
    __real_free(block);
}
}

void* operator new(size_t size)
{
    ++Allocations;
    if (void* block = __real_malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { __wrap_free(block); }
void operator delete(void* block, size_t) noexcept { __wrap_free(block); }

namespace {

// The grids and surface are made before counting, as at window creation; the
// first frame, which also picks the kernels, is counted.
void ExpectFramesAllocateNothing(const FireRowKernels* rows, int32_t width, int32_t height)
{
    std::vector<uint8_t> a(size_t(width) * size_t(height)), b(a.size());
    std::vector<uint8_t> pixels(size_t(SurfaceStride(width)) * size_t(height));
    FireField field{width, height, a.data(), b.data()};
    newFireCountdown = 0;
    const uint64_t before = Allocations + Releases;
    for (int32_t frame = 0; frame < 100; ++frame) {
        RunNewFireCountdown(field, 8, 0);
        if (rows)
            SpreadFireOntoSurfaceWith(*rows, field.next, field.current, pixels.data(), width, height);
        else
            SpreadFireOntoSurface(field.next, field.current, pixels.data(), width, height);
        std::swap(field.next, field.current);
    }
    EXPECT_EQ(Allocations + Releases, before)
        << (rows ? rows->name : "as dispatched") << " " << width << "x" << height;
}

TEST(FrameAllocations, TheFrameStepAllocatesNothingOnAnyKernelSet)
{
    ExpectFramesAllocateNothing(nullptr, 160, 120);
    std::vector<const FireRowKernels*> sets{&PortableFireRows};
#if defined(EMBRIX_X86_FIRE_ROWS)
    sets.push_back(&Sse2FireRows);
    if (ProcessorRunsAvx2()) sets.push_back(&Avx2FireRows);
#endif
    for (const FireRowKernels* rows : sets) {
        ExpectFramesAllocateNothing(rows, 160, 120);
        ExpectFramesAllocateNothing(rows, 17, 3);
    }
}

// Busy blocks and their bytes over every heap of the process.
std::pair<uint64_t, uint64_t> CountHeaps()
{
    std::pair<uint64_t, uint64_t> count{0, 0};
    HANDLE heaps[256];
    const DWORD found = GetProcessHeaps(256, heaps);
    for (DWORD i = 0; i < found && i < 256 && HeapLock(heaps[i]); HeapUnlock(heaps[i++])) {
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++count.first, count.second += entry.cbData;
    }
    return count;
}

// Wine's GetGuiResources counts nothing, so graphics objects are also seen
// through a probe: a brush made and deleted at once gets the slot freed last,
// and a slot's handle changes each time it is reused, so the step from one
// probe's handle to the next grows when anything was made in between.
uintptr_t ProbeGraphicsHandle()
{
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    DeleteObject(brush);
    return reinterpret_cast<uintptr_t>(brush);
}

using SaverFrames = InProcessTest;

TEST_F(SaverFrames, AllocateAndCreateNothing)
{
    parent = MakeRecordingParent(640, 480);
    const uint64_t beforeCreation = Allocations;
    RunSaverWith(parent, [&](HWND saver) {
        ASSERT_EQ(FireEffectState.field.width, 160);
        EXPECT_GE(Allocations - beforeCreation, 2u) << "the grids' allocations are seen";
        KillTimer(saver, FireEffectState.timerId);
        // Whatever the platform makes lazily on the first frames is made here.
        for (int frame = 0; frame < 20; ++frame) SendMessageA(saver, WM_TIMER, FrameTimerId, 0);

        // The probe works: two empty intervals give the same step, one object made shows.
        const uintptr_t probe0 = ProbeGraphicsHandle(), probe1 = ProbeGraphicsHandle();
        const uintptr_t probe2 = ProbeGraphicsHandle();
        DeleteObject(CreatePen(PS_SOLID, 1, 0));
        const uintptr_t emptyStep = probe1 - probe0;
        ASSERT_EQ(probe2 - probe1, emptyStep);
        ASSERT_NE(ProbeGraphicsHandle() - probe2, emptyStep) << "the probe sees a made object";

        const uint64_t before = Allocations + Releases;
        const auto heapBefore = CountHeaps();
        const uint32_t seedBefore = randomSeed;
        const uintptr_t probeBefore = ProbeGraphicsHandle();
        for (int frame = 0; frame < 200; ++frame) SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
        EXPECT_EQ(ProbeGraphicsHandle() - probeBefore, emptyStep) << "graphics objects were made";
        EXPECT_EQ(CountHeaps(), heapBefore);
        EXPECT_EQ(Allocations + Releases, before) << "allocations in 200 frames";
        EXPECT_NE(randomSeed, seedBefore) << "frames ran and sowed";
    });
}

}  // namespace
