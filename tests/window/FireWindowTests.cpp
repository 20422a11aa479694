// The effect inside a real saver window: what creation makes, what a frame
// draws, what an erase blackens and what destruction gives back.
#include <gtest/gtest.h>

#include <cstring>

#include "WindowTestSupport.h"
#include "fire/FireColors.h"
#include "fire/FireSettings.h"
#include "fire/FireSimulation.h"
#include "fire/FireWindowProc.h"
#include "host/SaverHostState.h"

namespace {

class FireWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSaverRecords();
        // The effect's defaults: no settings in the file.
        WritePrivateProfileStringA(SettingsSection, nullptr, nullptr, SettingsFile);
    }
    void TearDown() override
    {
        if (parent && IsWindow(parent)) DestroyWindow(parent);
        WritePrivateProfileStringA(SettingsSection, nullptr, nullptr, SettingsFile);
    }
    HWND OpenPreview(int width, int height)
    {
        parent = CreateTestParent(width, height);
        return CreateSaverWindowForTests(parent);
    }
    // Runs frames through the real timer until count of them were drawn.
    bool WaitForFrames(uint32_t count)
    {
        uint32_t start = framesSeen();
        return PumpUntil([&] { return framesSeen() - start >= count; }, 10000);
    }
    // Frames show as swaps of the two grids.
    uint32_t framesSeen()
    {
        if (FireEffectState.field.current != lastCurrent) {
            lastCurrent = FireEffectState.field.current;
            ++frames;
        }
        return frames;
    }
    HWND parent = nullptr;
    uint8_t* lastCurrent = nullptr;
    uint32_t frames = 0;
};

TEST_F(FireWindow, CreationMakesEverythingTheFramesNeed)
{
    HWND saver = OpenPreview(152, 112);
    ASSERT_TRUE(saver);
    const FireEffectStateRecord& fire = FireEffectState;
    EXPECT_EQ(fire.clientRect.right, 152);
    EXPECT_EQ(fire.clientRect.bottom, 112);
    EXPECT_EQ(fire.field.width, 38);
    EXPECT_EQ(fire.field.height, 28);
    EXPECT_EQ(FireSettings.size, 4);
    EXPECT_EQ(FireSettings.fireType, 8);
    EXPECT_EQ(FireSettings.newFire, 8);
    ASSERT_TRUE(fire.field.next && fire.field.current);
    for (int i = 0; i < 38 * 28; ++i) ASSERT_EQ(fire.field.current[i], 0) << i;
    EXPECT_TRUE(fire.windowDC);
    EXPECT_EQ(fire.windowDC, GetDC(saver)) << "the class's own context";
    EXPECT_EQ(GetObjectType(fire.palette), static_cast<DWORD>(OBJ_PAL));
    EXPECT_EQ(GetObjectType(fire.surface.memoryDC), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_TRUE(fire.surface.pixels);
    EXPECT_EQ(fire.timerId, FrameTimerId);

    // Table and palette agree after creation, the fire entries reserved.
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(fire.palette, 0, 256, entries), 256u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(entries[i].peRed, fire.colorRamp.entries[i].red) << i;
        EXPECT_EQ(entries[i].peGreen, fire.colorRamp.entries[i].green) << i;
        EXPECT_EQ(entries[i].peBlue, fire.colorRamp.entries[i].blue) << i;
    }
    EXPECT_EQ(entries[10].peFlags, PC_RESERVED);
    EXPECT_EQ(entries[245].peFlags, PC_RESERVED);
    EXPECT_EQ(entries[9].peFlags, 0);
    EXPECT_EQ(entries[246].peFlags, 0);
}

TEST_F(FireWindow, TimerFramesFillTheSurfaceWithFireIndices)
{
    ASSERT_TRUE(OpenPreview(152, 112));
    ASSERT_TRUE(WaitForFrames(12));
    const FireEffectStateRecord& fire = FireEffectState;
    int stride = SurfaceStride(fire.field.width);
    int hot = 0;
    for (int y = 0; y < fire.field.height; ++y) {
        for (int x = 0; x < fire.field.width; ++x) {
            uint8_t index = fire.surface.pixels[y * stride + x];
            ASSERT_GE(index, FireIndexBase) << x << "," << y;
            ASSERT_LE(index, FireIndexBase + FireColorCount - 1) << x << "," << y;
            // The surface shows the grid just computed, now `current`.
            ASSERT_EQ(index, fire.field.current[y * fire.field.width + x] + FireIndexBase);
            hot += index > FireIndexBase;
        }
    }
    EXPECT_GT(hot, 0) << "twelve frames sow twice and spread";
}

TEST_F(FireWindow, AnyTimerIdentifierDrawsAFramePaintDrawsNone)
{
    HWND saver = OpenPreview(152, 112);
    ASSERT_TRUE(saver);
    KillTimer(saver, FireEffectState.timerId);  // only our messages from here on
    PumpFor(50);
    uint8_t* before = FireEffectState.field.current;
    SendMessageA(saver, WM_PAINT, 0, 0);
    EXPECT_EQ(FireEffectState.field.current, before);
    SendMessageA(saver, WM_TIMER, 77, 0);
    EXPECT_NE(FireEffectState.field.current, before);
    EXPECT_EQ(newFireCountdown, 8) << "the first frame sows and reloads";
}

TEST_F(FireWindow, EraseBlackensWindowAndSurface)
{
    HWND saver = OpenPreview(152, 112);
    ASSERT_TRUE(saver);
    ASSERT_TRUE(WaitForFrames(12));
    KillTimer(saver, FireEffectState.timerId);
    HDC dc = GetDC(saver);
    SendMessageA(saver, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const FireEffectStateRecord& fire = FireEffectState;
    int stride = SurfaceStride(fire.field.width);
    for (int y = 0; y < fire.field.height; ++y)
        for (int x = 0; x < fire.field.width; ++x)
            ASSERT_EQ(fire.surface.pixels[y * stride + x], 0) << x << "," << y;
    EXPECT_EQ(GetPixel(dc, 60, 50) & 0xFFFFFF, 0u);
    EXPECT_EQ(GetPixel(dc, 1, 1) & 0xFFFFFF, 0u);
    ReleaseDC(saver, dc);
}

TEST_F(FireWindow, DestructionReleasesEachResourceOnce)
{
    HWND saver = OpenPreview(152, 112);
    ASSERT_TRUE(saver);
    ASSERT_TRUE(WaitForFrames(3));
    FireEffectStateRecord fire = FireEffectState;
    HGDIOBJ section = GetCurrentObject(fire.surface.memoryDC, OBJ_BITMAP);
    ASSERT_EQ(GetObjectType(section), static_cast<DWORD>(OBJ_BITMAP));

    DestroyWindow(saver);
    EXPECT_EQ(GetObjectType(fire.palette), 0u);
    EXPECT_EQ(GetObjectType(fire.surface.memoryDC), 0u);
    EXPECT_EQ(GetObjectType(section), 0u);
    EXPECT_EQ(FireEffectState.surface.previousBitmap, nullptr);
    PumpFor(50);
    EXPECT_TRUE(QuitSeen);

    // A second destruction of the same surface finds nothing to release.
    DestroyFrameSurface(FireEffectState.surface);
    FrameSurface none = {};
    DestroyFrameSurface(none);
}

TEST_F(FireWindow, DestructionSkipsAPaletteAndTimerThatNeverExisted)
{
    HWND saver = OpenPreview(152, 112);
    ASSERT_TRUE(saver);
    KillTimer(saver, FireEffectState.timerId);
    FireEffectState.timerId = 0;
    SelectPalette(FireEffectState.windowDC, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)),
                  FALSE);
    DeleteObject(FireEffectState.palette);
    FireEffectState.palette = nullptr;
    HDC memoryDC = FireEffectState.surface.memoryDC;
    DestroyWindow(saver);
    EXPECT_EQ(GetObjectType(memoryDC), 0u);
}

TEST_F(FireWindow, SettingsFromTheFileSizeTheGridOnce)
{
    WritePrivateProfileStringA(SettingsSection, "Size", "2", SettingsFile);
    WritePrivateProfileStringA(SettingsSection, "Scaling", "1", SettingsFile);
    ASSERT_TRUE(OpenPreview(152, 112));
    EXPECT_EQ(FireEffectState.field.width, 76);
    EXPECT_EQ(FireEffectState.field.height, 56);
    EXPECT_EQ(FireSettings.scaling, 1);
    WritePrivateProfileStringA(SettingsSection, "Size", "8", SettingsFile);
    ASSERT_TRUE(WaitForFrames(3));
    EXPECT_EQ(FireEffectState.field.width, 76) << "read at creation only";
}

TEST_F(FireWindow, UnusableSizeStillOpensAndDrawsSafely)
{
    // A window smaller than one cell, and a "Size" of 0 from a hand edit.
    WritePrivateProfileStringA(SettingsSection, "Size", "0", SettingsFile);
    HWND saver = OpenPreview(3, 2);
    ASSERT_TRUE(saver);
    EXPECT_EQ(FireEffectState.field.width, 0);
    EXPECT_EQ(FireEffectState.surface.memoryDC, nullptr) << "no empty surface";
    SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
    SendMessageA(saver, WM_ERASEBKGND, 0, 0);
    DestroyWindow(saver);
    EXPECT_FALSE(IsWindow(saver));
}

}  // namespace
