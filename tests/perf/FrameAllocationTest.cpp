// Frames of the saver window allocate and create nothing, seen through the
// allocator's entries (wrapped at link time, see tests/CMakeLists.txt) and
// a graphics-handle probe.
#include "fire/FireSimulation.h"
#include "fire/win32/FireWindowProc.h"
#include "support/WindowHarness.h"

uint64_t Allocations;  // malloc, calloc, realloc
uint64_t Releases;     // free of a block

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);
void* __wrap_malloc(size_t size)
{
    return ++Allocations, __real_malloc(size);
}
void* __wrap_calloc(size_t count, size_t size)
{
    return ++Allocations, __real_calloc(count, size);
}
void* __wrap_realloc(void* block, size_t size)
{
    return ++Allocations, __real_realloc(block, size);
}
void __wrap_free(void* block)
{
    Releases += block != nullptr, __real_free(block);
}
}

namespace {

// Wine's GetGuiResources counts nothing, so graphics objects are seen through
// a probe: a brush made and deleted at once gets the slot freed last, and a
// slot's handle changes each time it is reused, so the step from one probe's
// handle to the next grows when anything was made in between.
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
        const uintptr_t probe0 = ProbeGraphicsHandle(), probe1 = ProbeGraphicsHandle();
        DeleteObject(CreatePen(PS_SOLID, 1, 0));
        const uintptr_t emptyStep = probe1 - probe0;
        ASSERT_NE(ProbeGraphicsHandle() - probe1, emptyStep) << "the probe sees a made object";

        const uint64_t before = Allocations + Releases;
        const uint32_t seedBefore = randomSeed;
        const uintptr_t probeBefore = ProbeGraphicsHandle();
        for (int frame = 0; frame < 200; ++frame) SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
        EXPECT_EQ(ProbeGraphicsHandle() - probeBefore, emptyStep) << "graphics objects were made";
        EXPECT_EQ(Allocations + Releases, before) << "allocations in 200 frames";
        EXPECT_NE(randomSeed, seedBefore) << "frames ran and sowed";
    });
}

}  // namespace
