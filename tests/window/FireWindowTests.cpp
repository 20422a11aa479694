// The effect inside the saver window as the host runs it: what creation
// makes, what frames draw, what an erase blackens, what destruction gives
// back, and grids or handles the platform makes nothing for.
#include "fire/FireColors.h"
#include "fire/FireSettings.h"
#include "fire/FireWindowProc.h"
#include "host/SaverHostState.h"
#include "support/WindowHarness.h"

namespace {

class FireWindow : public InProcessTest {
protected:
    // A preview of width x height with these settings lines, body inside it.
    int RunPreview(int width, int height, const char* lines, const std::function<void(HWND)>& body)
    {
        EXPECT_TRUE(WriteSettingsSection(lines));
        return RunSaverWith(parent = MakeRecordingParent(width, height), body);
    }
};

// Frames from the real timer, seen as swaps of the two grids.
bool WaitForFrames(int count)
{
    const uint8_t* last = FireEffectState.field.current;
    return PumpUntil([&] {
        count -= FireEffectState.field.current != last;
        last = FireEffectState.field.current;
        return count <= 0;
    });
}

TEST_F(FireWindow, CreationMakesEverythingTheFramesNeedDestructionReleasesIt)
{
    FireEffectStateRecord fire = {};
    HGDIOBJ section = nullptr;
    EXPECT_EQ(RunPreview(152, 112, "", [&](HWND saver) {
                  fire = FireEffectState;
                  EXPECT_EQ(fire.field.width * 100 + fire.field.height, 3828) << "152 x 112 in 4s";
                  ASSERT_TRUE(fire.field.next && fire.field.current);
                  for (int i = 0; i < 38 * 28; ++i) ASSERT_EQ(fire.field.current[i], 0) << i;
                  EXPECT_EQ(fire.windowDC, GetDC(saver)) << "the class's own context";
                  section = GetCurrentObject(fire.surface.memoryDC, OBJ_BITMAP);
                  EXPECT_EQ(GetObjectType(section), static_cast<DWORD>(OBJ_BITMAP));
                  EXPECT_TRUE(fire.surface.pixels);
                  EXPECT_EQ(fire.timerId, FrameTimerId);
                  // Table and palette agree, the fire entries reserved.
                  PALETTEENTRY entries[256];
                  ASSERT_EQ(GetPaletteEntries(fire.palette, 0, 256, entries), 256u);
                  for (int i = 0; i < 256; ++i) {
                      const RampColor& color = fire.colorRamp.entries[i];
                      EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue),
                                RGB(color.red, color.green, color.blue)) << i;
                      EXPECT_EQ(entries[i].peFlags, i >= 10 && i <= 245 ? PC_RESERVED : 0) << i;
                  }
              }),
              0);
    EXPECT_EQ(GetObjectType(fire.palette), 0u);
    EXPECT_EQ(GetObjectType(fire.surface.memoryDC), 0u);
    EXPECT_EQ(GetObjectType(section), 0u);
    DestroyFrameSurface(FireEffectState.surface);  // a second time finds nothing to release
}

TEST_F(FireWindow, TimerFramesFillTheSurfaceWithFireIndicesEraseBlackensIt)
{
    RunPreview(152, 112, "", [](HWND saver) {
        ASSERT_TRUE(WaitForFrames(12));
        KillTimer(saver, FireEffectState.timerId);
        const FireField& field = FireEffectState.field;
        const uint8_t* pixels = FireEffectState.surface.pixels;
        const int stride = SurfaceStride(field.width);
        int hot = 0;
        for (int y = 0; y < field.height; ++y)
            for (int x = 0; x < field.width; ++x) {
                // The surface shows the grid just computed, now `current`.
                ASSERT_EQ(pixels[y * stride + x], field.current[y * field.width + x] + FireIndexBase);
                ASSERT_LT(field.current[y * field.width + x], FireColorCount);
                hot += field.current[y * field.width + x] > 0;
            }
        EXPECT_GT(hot, 0) << "twelve frames sow twice and spread";

        HDC dc = GetDC(saver);
        SendMessageA(saver, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        for (int y = 0; y < field.height; ++y)
            for (int x = 0; x < field.width; ++x) ASSERT_EQ(pixels[y * stride + x], 0) << x << "," << y;
        EXPECT_EQ(GetPixel(dc, 60, 50) & 0xFFFFFF, 0u);
        EXPECT_EQ(GetPixel(dc, 1, 1) & 0xFFFFFF, 0u);
        ReleaseDC(saver, dc);
    });
}

TEST_F(FireWindow, SettingsFromTheFileSizeTheGridOnce)
{
    RunPreview(152, 112, "Size=2\r\nScaling=1\r\n", [](HWND) {
        EXPECT_EQ(FireEffectState.field.width * 100 + FireEffectState.field.height, 7656);
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
    HPALETTE palette = nullptr;
    EXPECT_EQ(RunPreview(GetParam().width, GetParam().height, GetParam().lines, [&](HWND saver) {
                  EXPECT_EQ(FireEffectState.field.height, 0);
                  EXPECT_EQ(FireEffectState.surface.memoryDC, nullptr) << "no empty surface";
                  EXPECT_EQ(GetObjectType(palette = FireEffectState.palette), static_cast<DWORD>(OBJ_PAL));
                  EXPECT_EQ(FireEffectState.timerId, FrameTimerId);
                  for (int frame = 0; frame < 20; ++frame) SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
                  RedrawWindow(saver, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
                  Pump(300);  // and the real timer's frames
              }),
              0);
    EXPECT_EQ(GetObjectType(palette), 0u) << "the palette is released";
}

INSTANTIATE_TEST_SUITE_P(Grids, UnusableGridWindow, ::testing::ValuesIn(UnusableGrids),
                         RowName());

TEST_F(FireWindow, NothingButThePaletteForAHandleThatIsNoWindow)
{
    HWND gone = MakeChainEndWindow();
    DestroyWindow(gone);
    SaverHostState.isPreview = 1;
    FireWindowProc(gone, WM_CREATE, 0, 0);
    EXPECT_EQ(FireEffectState.timerId, 0u);
    EXPECT_EQ(FireEffectState.surface.memoryDC, nullptr);
    EXPECT_EQ(FireEffectState.field.width, 0);
    const HPALETTE palette = FireEffectState.palette;  // needs no window
    EXPECT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));
    for (UINT message : {WM_TIMER, WM_ERASEBKGND, WM_PAINT, WM_DESTROY}) FireWindowProc(gone, message, 0, 0);
    EXPECT_EQ(GetObjectType(palette), 0u) << "the palette is released";
}

}  // namespace
