// The effect inside the saver window as the host runs it: what creation
// makes, what a frame draws, what an erase blackens, what destruction gives
// back, and grids or handles the platform makes nothing for.
#include "fire/FireColors.h"
#include "fire/FireSettings.h"
#include "fire/FireSimulation.h"
#include "fire/FireWindowProc.h"
#include "host/SaverHostState.h"
#include "support/WindowHarness.h"

namespace {

class FireWindow : public InProcessTest {
protected:
    // A preview of width x height with these settings lines, body inside it.
    int RunPreview(int width, int height, const char* lines,
                   const std::function<void(HWND)>& body)
    {
        EXPECT_TRUE(WriteSettingsSection(lines));
        parent = MakeRecordingParent(width, height);
        return RunSaverWith(parent, body);
    }
};

// Runs frames through the real timer until count of them were drawn; frames
// show as swaps of the two grids.
bool WaitForFrames(int count)
{
    const uint8_t* last = FireEffectState.field.current;
    int frames = 0;
    return PumpUntil(
        [&] {
            if (FireEffectState.field.current != last) ++frames;
            last = FireEffectState.field.current;
            return frames >= count;
        },
        Patience);
}

TEST_F(FireWindow, CreationMakesEverythingTheFramesNeed)
{
    RunPreview(152, 112, "", [](HWND saver) {
        const FireEffectStateRecord& fire = FireEffectState;
        EXPECT_EQ(fire.clientRect.right, 152);
        EXPECT_EQ(fire.clientRect.bottom, 112);
        EXPECT_EQ(fire.field.width, 38);
        EXPECT_EQ(fire.field.height, 28);
        ASSERT_TRUE(fire.field.next && fire.field.current);
        for (int i = 0; i < 38 * 28; ++i) ASSERT_EQ(fire.field.current[i], 0) << i;
        EXPECT_EQ(fire.windowDC, GetDC(saver)) << "the class's own context";
        EXPECT_EQ(GetObjectType(fire.palette), static_cast<DWORD>(OBJ_PAL));
        EXPECT_EQ(GetObjectType(fire.surface.memoryDC), static_cast<DWORD>(OBJ_MEMDC));
        EXPECT_TRUE(fire.surface.pixels);
        EXPECT_EQ(fire.timerId, FrameTimerId);

        // Table and palette agree after creation, the fire entries reserved.
        PALETTEENTRY entries[256];
        ASSERT_EQ(GetPaletteEntries(fire.palette, 0, 256, entries), 256u);
        for (int i = 0; i < 256; ++i) {
            const RampColor& color = fire.colorRamp.entries[i];
            EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue),
                      RGB(color.red, color.green, color.blue)) << i;
            EXPECT_EQ(entries[i].peFlags, i >= 10 && i <= 245 ? PC_RESERVED : 0) << i;
        }
    });
}

TEST_F(FireWindow, TimerFramesFillTheSurfaceWithFireIndices)
{
    RunPreview(152, 112, "", [](HWND) {
        ASSERT_TRUE(WaitForFrames(12));
        const FireEffectStateRecord& fire = FireEffectState;
        const int stride = SurfaceStride(fire.field.width);
        int hot = 0;
        for (int y = 0; y < fire.field.height; ++y) {
            for (int x = 0; x < fire.field.width; ++x) {
                const uint8_t index = fire.surface.pixels[y * stride + x];
                // The surface shows the grid just computed, now `current`.
                ASSERT_EQ(index, fire.field.current[y * fire.field.width + x] + FireIndexBase);
                ASSERT_LE(index, FireIndexBase + FireColorCount - 1) << x << "," << y;
                hot += index > FireIndexBase;
            }
        }
        EXPECT_GT(hot, 0) << "twelve frames sow twice and spread";
    });
}

TEST_F(FireWindow, AnyTimerIdentifierDrawsAFramePaintDrawsNone)
{
    RunPreview(152, 112, "", [](HWND saver) {
        KillTimer(saver, FireEffectState.timerId);  // only our messages from here on
        Pump(50);
        const uint8_t* before = FireEffectState.field.current;
        SendMessageA(saver, WM_PAINT, 0, 0);
        EXPECT_EQ(FireEffectState.field.current, before);
        SendMessageA(saver, WM_TIMER, 77, 0);
        EXPECT_NE(FireEffectState.field.current, before);
        EXPECT_EQ(newFireCountdown, 8) << "the first frame sows and reloads";
    });
}

TEST_F(FireWindow, EraseBlackensWindowAndSurface)
{
    RunPreview(152, 112, "", [](HWND saver) {
        ASSERT_TRUE(WaitForFrames(12));
        KillTimer(saver, FireEffectState.timerId);
        HDC dc = GetDC(saver);
        SendMessageA(saver, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const FireEffectStateRecord& fire = FireEffectState;
        const int stride = SurfaceStride(fire.field.width);
        for (int y = 0; y < fire.field.height; ++y)
            for (int x = 0; x < fire.field.width; ++x)
                ASSERT_EQ(fire.surface.pixels[y * stride + x], 0) << x << "," << y;
        EXPECT_EQ(GetPixel(dc, 60, 50) & 0xFFFFFF, 0u);
        EXPECT_EQ(GetPixel(dc, 1, 1) & 0xFFFFFF, 0u);
        ReleaseDC(saver, dc);
    });
}

TEST_F(FireWindow, DestructionReleasesEachResourceOnce)
{
    FireEffectStateRecord fire = {};
    HGDIOBJ section = nullptr;
    RunPreview(152, 112, "", [&](HWND) {
        ASSERT_TRUE(WaitForFrames(3));
        fire = FireEffectState;
        section = GetCurrentObject(fire.surface.memoryDC, OBJ_BITMAP);
        ASSERT_EQ(GetObjectType(section), static_cast<DWORD>(OBJ_BITMAP));
    });
    EXPECT_EQ(GetObjectType(fire.palette), 0u);
    EXPECT_EQ(GetObjectType(fire.surface.memoryDC), 0u);
    EXPECT_EQ(GetObjectType(section), 0u);
    EXPECT_EQ(FireEffectState.surface.previousBitmap, nullptr);
    // A second destruction of the same surface finds nothing to release.
    DestroyFrameSurface(FireEffectState.surface);
}

TEST_F(FireWindow, SettingsFromTheFileSizeTheGridOnce)
{
    RunPreview(152, 112, "Size=2\r\nScaling=1\r\n", [](HWND) {
        EXPECT_EQ(FireEffectState.field.width, 76);
        EXPECT_EQ(FireEffectState.field.height, 56);
        EXPECT_EQ(FireSettings.scaling, 1);
        WriteSettingsSection("Size=8\r\n");
        ASSERT_TRUE(WaitForFrames(3));
        EXPECT_EQ(FireEffectState.field.width, 76) << "read at creation only";
    });
}

// Grids without a cell or a row: no surface, but frames, erases, the real
// timer and destruction go on, and the palette is made and released.
struct UnusableGrid {
    const char* name;
    int width, height;  // the preview's client area
    const char* lines;  // the saver's settings
};

const UnusableGrid UnusableGrids[] = {
    {"SmallerThanACellWithSizeZero", 3, 2, "Size=0\r\n"},
    {"TooLowForOneRow", 40, 3, ""},
    {"SizeLargerThanTheWindow", 320, 240, "Size=2147483647\r\n"},
};

class UnusableGridWindow : public FireWindow, public ::testing::WithParamInterface<UnusableGrid> {};

TEST_P(UnusableGridWindow, OpensDrawsAndClosesSafely)
{
    const UnusableGrid& grid = GetParam();
    HPALETTE palette = nullptr;
    EXPECT_EQ(RunPreview(grid.width, grid.height, grid.lines, [&](HWND saver) {
                  const FireEffectStateRecord& fire = FireEffectState;
                  EXPECT_EQ(fire.field.height, 0);
                  EXPECT_EQ(fire.surface.memoryDC, nullptr) << "no empty surface";
                  EXPECT_EQ(fire.surface.pixels, nullptr);
                  palette = fire.palette;
                  EXPECT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));
                  EXPECT_EQ(fire.timerId, FrameTimerId);
                  for (int frame = 0; frame < 20; ++frame)
                      SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
                  RedrawWindow(saver, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
                  Pump(300);  // and the real timer's frames
                  EXPECT_TRUE(IsWindow(saver));
              }),
              0);
    EXPECT_EQ(GetObjectType(palette), 0u) << "the palette is released";
}

INSTANTIATE_TEST_SUITE_P(Grids, UnusableGridWindow, ::testing::ValuesIn(UnusableGrids),
                         RowName<UnusableGrid>);

TEST_F(FireWindow, NothingButThePaletteForAHandleThatIsNoWindow)
{
    // Client area, device context, surface and timer are all refused for a
    // stale handle; only the palette, which needs no window, is made.
    HWND gone = MakeChainEndWindow();
    ASSERT_TRUE(gone);
    DestroyWindow(gone);
    SaverHostState.isPreview = 1;

    FireWindowProc(gone, WM_CREATE, 0, 0);
    const FireEffectStateRecord& fire = FireEffectState;
    EXPECT_EQ(fire.timerId, 0u);
    EXPECT_EQ(fire.surface.memoryDC, nullptr);
    EXPECT_EQ(fire.field.width, 0);
    const HPALETTE palette = fire.palette;
    EXPECT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));

    for (UINT message : {WM_TIMER, WM_ERASEBKGND, WM_PAINT, WM_DESTROY})
        FireWindowProc(gone, message, 0, 0);
    EXPECT_EQ(GetObjectType(palette), 0u) << "the palette is released";
}

}  // namespace
