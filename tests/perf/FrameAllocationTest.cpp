// Frames allocate nothing and create nothing: the frame step on its own on
// every kernel set, and, in the Windows build, whole frames of a real saver
// window, counted by the allocation wraps, the platform's object counts and
// the heaps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "AllocationCounter.h"
#include "fire/FireColors.h"
#include "fire/FireFrameStep.h"
#include "fire/FireRowKernels.h"
#include "fire/FireSimulation.h"

#if defined(EMBRIX_WINDOW_FRAMES)
#include <windows.h>

#include <cstdio>

#include "window/WindowTestSupport.h"
#include "fire/FireSettings.h"
#include "fire/FireWindowProc.h"
#endif

namespace {

bool SameCounts(const AllocationCountRecord& a, const AllocationCountRecord& b) {
    return a.allocations == b.allocations && a.releases == b.releases;
}

// Blocks pass through here so that the compiler cannot drop an allocation
// whose block nobody uses.
void* volatile escaped;

TEST(FrameAllocations, TheCountersSeeTheProgramsAllocations) {
    const AllocationCountRecord before = AllocationCount;
    escaped = std::malloc(64);
    escaped = std::realloc(escaped, 128);
    std::free(escaped);
    escaped = std::calloc(4, 4);
    std::free(escaped);
    int* one = new int(3);
    escaped = one;
    delete static_cast<int*>(escaped);
    char* five = new char[5];
    escaped = five;
    delete[] static_cast<char*>(escaped);
    const AllocationCountRecord after = AllocationCount;
    EXPECT_EQ(after.allocations - before.allocations, 5u);
    EXPECT_EQ(after.releases - before.releases, 4u);
}

// The grids and surface are made before counting, as the effect makes them at
// window creation; the first frame, which also picks the kernels, is counted.
void ExpectFramesAllocateNothing(const FireRowKernels* rows, int32_t width, int32_t height) {
    std::vector<uint8_t> a(size_t(width) * size_t(height)), b(a.size());
    std::vector<uint8_t> pixels(size_t(SurfaceStride(width)) * size_t(height));
    FireField field{width, height, a.data(), b.data()};
    newFireCountdown = 0;
    const AllocationCountRecord before = AllocationCount;
    for (int32_t frame = 0; frame < 100; ++frame) {
        RunNewFireCountdown(field, 8, 0);
        if (rows != nullptr) {
            SpreadFireOntoSurfaceWith(*rows, field.next, field.current, pixels.data(), width,
                                      height);
        } else {
            SpreadFireOntoSurface(field.next, field.current, pixels.data(), width, height);
            SpreadFire(field.next, field.current, width, height);
            CopyToSurface(pixels.data(), field.next, width, height);
        }
        std::swap(field.next, field.current);
    }
    EXPECT_TRUE(SameCounts(AllocationCount, before))
        << (rows ? rows->name : "product") << " " << width << "x" << height << ": "
        << AllocationCount.allocations - before.allocations << " allocations";
}

TEST(FrameAllocations, TheFrameStepAllocatesNothingOnAnyKernelSet) {
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

#if defined(EMBRIX_WINDOW_FRAMES)

struct HeapCount {
    uint64_t blocks;
    uint64_t bytes;
};

// Busy blocks and their bytes over every heap of the process.
HeapCount CountHeaps() {
    HeapCount count{0, 0};
    HANDLE heaps[256];
    const DWORD found = GetProcessHeaps(256, heaps);
    for (DWORD i = 0; i < found && i < 256; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry;
        entry.lpData = nullptr;
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                ++count.blocks;
                count.bytes += entry.cbData;
            }
        }
        HeapUnlock(heaps[i]);
    }
    return count;
}

// Wine's GetGuiResources counts nothing, so graphics objects are also seen
// through a probe: a brush made and deleted at once gets the slot freed last,
// and a slot's handle changes each time the slot is reused, so the step from
// one probe's handle to the next grows when anything was made in between.
// Usable where two empty intervals give the same step.
uintptr_t ProbeGraphicsHandle() {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    DeleteObject(brush);
    return reinterpret_cast<uintptr_t>(brush);
}

TEST(FrameAllocations, ASaverWindowsFramesAllocateAndCreateNothing) {
    ResetSaverRecords();
    WritePrivateProfileStringA(SettingsSection, nullptr, nullptr, SettingsFile);
    HWND parent = CreateTestParent(640, 480);
    ASSERT_TRUE(parent);
    const AllocationCountRecord beforeCreation = AllocationCount;
    HWND saver = CreateSaverWindowForTests(parent);
    ASSERT_TRUE(saver);
    ASSERT_EQ(FireEffectState.field.width, 160);
    EXPECT_GE(AllocationCount.allocations - beforeCreation.allocations, 2u)
        << "the grids' allocations are seen";

    // Whatever the platform makes lazily on the first frames is made here.
    for (int frame = 0; frame < 20; ++frame) SendMessageA(saver, WM_TIMER, FrameTimerId, 0);

    const uintptr_t probe0 = ProbeGraphicsHandle();
    const uintptr_t probe1 = ProbeGraphicsHandle();
    const uintptr_t probe2 = ProbeGraphicsHandle();
    DeleteObject(CreatePen(PS_SOLID, 1, 0));
    const uintptr_t probe3 = ProbeGraphicsHandle();
    const uintptr_t emptyStep = probe1 - probe0;
    const bool probeUsable = probe2 - probe1 == emptyStep && probe3 - probe2 != emptyStep;
    if (!probeUsable) std::printf("the handle probe sees nothing on this platform\n");

    const HANDLE process = GetCurrentProcess();
    const AllocationCountRecord before = AllocationCount;
    const DWORD gdiBefore = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(process, GR_USEROBJECTS);
    const HeapCount heapBefore = CountHeaps();
    const uint32_t seedBefore = randomSeed;
    const uintptr_t probeBefore = ProbeGraphicsHandle();
    for (int frame = 0; frame < 200; ++frame) SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
    const uintptr_t probeAfter = ProbeGraphicsHandle();
    const HeapCount heapAfter = CountHeaps();
    const DWORD gdiAfter = GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD userAfter = GetGuiResources(process, GR_USEROBJECTS);
    const AllocationCountRecord after = AllocationCount;

    EXPECT_NE(randomSeed, seedBefore) << "frames ran and sowed";
    EXPECT_TRUE(SameCounts(after, before))
        << after.allocations - before.allocations << " allocations in 200 frames";
    EXPECT_EQ(gdiAfter, gdiBefore);
    EXPECT_EQ(userAfter, userBefore);
    if (probeUsable) {
        EXPECT_EQ(probeAfter - probeBefore, emptyStep) << "graphics objects were made";
    }
    EXPECT_EQ(heapAfter.blocks, heapBefore.blocks);
    EXPECT_EQ(heapAfter.bytes, heapBefore.bytes);
    DestroyWindow(parent);
}

#endif

}  // namespace
