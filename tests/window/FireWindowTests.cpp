// The effect inside the saver window as the host runs it, and grids or
// handles the platform makes nothing for.
#include <utility>

#include "fire/FireColors.h"
#include "fire/FireSettings.h"
#include "fire/win32/FireWindowProc.h"
#include "host/SaverHostState.h"
#include "support/WindowHarness.h"

namespace {

using FireWindow = InProcessTest;

// Settings size the grid once, at creation; the real timer's frames fill the
// surface, an erase blackens it and the window.
TEST_F(FireWindow, CreationMakesEverythingTheFramesNeedDestructionReleasesIt)
{
    FireEffectStateRecord fire = {};
    HGDIOBJ section = nullptr;
    ASSERT_TRUE(WriteSettingsSection("Size=2\r\nScaling=1\r\n"));
    EXPECT_EQ(
        RunSaverWith(
            parent = MakeRecordingParent(152, 112),
            [&](HWND saver) {
                fire = FireEffectState;
                EXPECT_EQ(fire.field.width * 100 + fire.field.height, 7656) << "152 x 112 in 2s";
                EXPECT_EQ(FireSettings.scaling, 1);
                ASSERT_TRUE(fire.field.next && fire.field.current);
                for (int i = 0; i < 76 * 56; ++i) ASSERT_EQ(fire.field.current[i], 0) << i;
                EXPECT_EQ(fire.windowDC, GetDC(saver)) << "the class's own context";
                section = GetCurrentObject(fire.surface.memoryDC, OBJ_BITMAP);
                EXPECT_EQ(GetObjectType(section), static_cast<DWORD>(OBJ_BITMAP));
                EXPECT_EQ(fire.timerId, FrameTimerId);
                // Table and palette agree, the fire entries reserved.
                PALETTEENTRY entries[256];
                ASSERT_EQ(GetPaletteEntries(fire.palette, 0, 256, entries), 256u);
                for (int i = 0; i < 256; ++i) {
                    const RampColor& color = fire.colorRamp.entries[i];
                    EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue),
                              RGB(color.red, color.green, color.blue))
                        << i;
                    EXPECT_EQ(entries[i].peFlags, i >= 10 && i <= 245 ? PC_RESERVED : 0) << i;
                }
                WriteSettingsSection("Size=8\r\n");
                int frames = 0;  // from the real timer, seen as swaps of the two grids
                ASSERT_TRUE(PumpUntil([&] {
                    frames += std::exchange(fire.field.current, FireEffectState.field.current) !=
                              FireEffectState.field.current;
                    return frames >= 12;
                }));
                KillTimer(saver, FireEffectState.timerId);
                EXPECT_EQ(FireEffectState.field.width, 76) << "read at creation only";
                const uint8_t* pixels = FireEffectState.surface.pixels;
                HDC dc = GetDC(saver);
                SendMessageA(saver, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
                for (int i = 0; i < SurfaceStride(76) * 56; ++i) ASSERT_EQ(pixels[i], 0) << i;
                EXPECT_EQ(GetPixel(dc, 60, 50) & 0xFFFFFF, 0u);
                EXPECT_EQ(GetPixel(dc, 1, 1) & 0xFFFFFF, 0u);
                ReleaseDC(saver, dc);
            }),
        0);
    EXPECT_EQ(GetObjectType(fire.palette), 0u);
    EXPECT_EQ(GetObjectType(fire.surface.memoryDC), 0u);
    EXPECT_EQ(GetObjectType(section), 0u);
    DestroyFrameSurface(FireEffectState.surface);  // a second time finds nothing to release
}

// Grids without a cell or a row: no surface, but frames, erases, the real
// timer and destruction go on, and the palette is made and released.
const WindowCase UnusableGrids[] = {
    {"SmallerThanACellWithSizeZero", 3, 2, "Size=0\r\n"},
    {"TooLowForOneRow", 40, 3, ""},
    {"SizeLargerThanTheWindow", 320, 240, "Size=2147483647\r\n"},
};

class UnusableGridWindow : public FireWindow, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(UnusableGridWindow, OpensDrawsAndClosesSafely)
{
    HPALETTE palette = nullptr;
    ASSERT_TRUE(WriteSettingsSection(GetParam().lines));
    EXPECT_EQ(RunSaverWith(parent = MakeRecordingParent(GetParam().width, GetParam().height),
                           [&](HWND saver) {
                               EXPECT_EQ(FireEffectState.field.height, 0);
                               EXPECT_EQ(FireEffectState.surface.memoryDC, nullptr)
                                   << "no empty surface";
                               EXPECT_EQ(GetObjectType(palette = FireEffectState.palette),
                                         static_cast<DWORD>(OBJ_PAL));
                               EXPECT_EQ(FireEffectState.timerId, FrameTimerId);
                               for (int frame = 0; frame < 20; ++frame)
                                   SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
                               RedrawWindow(saver, nullptr, nullptr,
                                            RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
                               Pump(300);  // and the real timer's frames
                           }),
              0);
    EXPECT_EQ(GetObjectType(palette), 0u) << "the palette is released";
}

INSTANTIATE_TEST_SUITE_P(Grids, UnusableGridWindow, ::testing::ValuesIn(UnusableGrids), RowName());

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
    for (UINT message : {WM_TIMER, WM_ERASEBKGND, WM_PAINT, WM_DESTROY})
        FireWindowProc(gone, message, 0, 0);
    EXPECT_EQ(GetObjectType(palette), 0u) << "the palette is released";
}

}  // namespace
