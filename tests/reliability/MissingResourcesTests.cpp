// The saver window when the platform refuses what it asks for, in this
// process: a frame surface for a grid without rows, everything for a handle
// that is no window, the window class after the verifier was loaded. Frames,
// erases and destruction go on without what is missing, and the saver-running
// state ends lowered. Runs beside the probe "PASSWORD.CPL".
#include <gtest/gtest.h>

#include <string>

#include "fire/FireWindowProc.h"
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"
#include "host/SaverWindow.h"
#include "support/KeptSettings.h"
#include "support/SaverProcess.h"
#include "window/WindowTestSupport.h"

#ifndef SPI_GETSCREENSAVERRUNNING
#define SPI_GETSCREENSAVERRUNNING 114
#endif

namespace {

// Each case's own name, for the test's name.
template <typename Case>
std::string NameOf(const ::testing::TestParamInfo<Case>& tested)
{
    return tested.param.name;
}

BOOL SaverRunningState()
{
    BOOL running = 2;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}

class MissingResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSaverRecords();
        SetUsePassword(false);
        SetSaverRunning(FALSE);
        log = ProgramFolder() + "probe-" + std::to_string(GetCurrentProcessId()) + ".log";
        DeleteFileA(log.c_str());
        SetEnvironmentVariableA("EMBRIX_PROBE_LOG", log.c_str());
    }
    void TearDown() override
    {
        if (parent && IsWindow(parent)) DestroyWindow(parent);
        if (window && IsWindow(window)) DestroyWindow(window);
        PumpFor(50);
        UnloadPasswordVerifier();
        SetSaverRunning(FALSE);
        SetEnvironmentVariableA("EMBRIX_PROBE_LOG", nullptr);
        DeleteFileA(log.c_str());
        ResetSaverRecords();
    }

    KeptSettings kept;
    std::string log;
    HWND parent = nullptr;
    HWND window = nullptr;
};

struct RowlessGrid {
    const char* name;
    int width, height;  // the preview's client area
    const char* lines;  // the saver's settings
};

class RowlessSurface : public MissingResources, public ::testing::WithParamInterface<RowlessGrid> {};

TEST_P(RowlessSurface, FramesErasesAndDestructionGoOnWithoutIt)
{
    const RowlessGrid& grid = GetParam();
    ASSERT_TRUE(WriteSettingsSection(grid.lines));
    parent = CreateTestParent(grid.width, grid.height);
    window = CreateSaverWindowForTests(parent);
    ASSERT_TRUE(window);

    const FireEffectStateRecord& fire = FireEffectState;
    EXPECT_EQ(fire.field.height, 0);
    EXPECT_EQ(fire.surface.memoryDC, nullptr) << "no DIB section without rows";
    EXPECT_EQ(fire.surface.pixels, nullptr);
    const HPALETTE palette = fire.palette;
    EXPECT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));
    EXPECT_NE(fire.timerId, 0u);

    for (int frame = 0; frame < 20; ++frame) SendMessageA(window, WM_TIMER, FrameTimerId, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
    PumpFor(300);  // and the real timer's frames
    EXPECT_TRUE(IsWindow(window));

    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_TRUE(PumpUntil([] { return QuitSeen; }, Patience));
    EXPECT_EQ(GetObjectType(palette), 0u) << "the palette is released";
}

const RowlessGrid RowlessGrids[] = {
    {"TooLowForOneRow", 40, 3, ""},
    {"SizeLargerThanTheWindow", 320, 240, "Size=2147483647\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Grids, RowlessSurface, ::testing::ValuesIn(RowlessGrids),
                         NameOf<RowlessGrid>);

TEST_F(MissingResources, NothingButThePaletteForAHandleThatIsNoWindow)
{
    // Client area, device context, surface and timer are all refused for a
    // stale handle; only the palette, which needs no window, is made.
    HWND gone = CreateWindowExA(0, "STATIC", "gone", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(gone);
    DestroyWindow(gone);
    ASSERT_FALSE(IsWindow(gone));
    SaverHostState.isPreview = 1;

    FireWindowProc(gone, WM_CREATE, 0, 0);
    const FireEffectStateRecord& fire = FireEffectState;
    EXPECT_EQ(fire.timerId, 0u) << "no timer for a handle that is no window";
    EXPECT_EQ(fire.surface.memoryDC, nullptr);
    EXPECT_EQ(fire.field.width, 0);
    const HPALETTE palette = fire.palette;

    FireWindowProc(gone, WM_TIMER, FrameTimerId, 0);
    FireWindowProc(gone, WM_ERASEBKGND, 0, 0);
    FireWindowProc(gone, WM_PAINT, 0, 0);
    FireWindowProc(gone, WM_DESTROY, 0, 0);
    if (palette) {
        EXPECT_EQ(GetObjectType(palette), 0u) << "the palette is released";
    }
}

TEST_F(MissingResources, ClassRefusedAfterTheVerifierRaisedTheState)
{
    // The class is this module's already, so the run cannot register it.
    RegisterSaverClassForTests();
    SetUsePassword(true);
    const int result = RunSaverWindow(nullptr);
    EXPECT_EQ(result, -1) << "no window, no loop: the run says so";
    EXPECT_EQ(SaverHostState.saverWindow, nullptr);
    EXPECT_EQ(SaverHostState.passwordLibrary, nullptr);
    EXPECT_EQ(SaverHostState.verifyPassword, nullptr);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);
    // Raised once the verifier was loaded, still so when it was freed, and
    // lowered right after.
    const std::string pid = std::to_string(GetCurrentProcessId());
    EXPECT_EQ(ReadWholeFile(log), pid + " attach running=0\r\n" + pid + " unload running=1\r\n");
}

TEST_F(MissingResources, RunningFullScreenSaverMeansNoVerifierForTheSecond)
{
    window = CreateSaverWindowForTests(nullptr);
    ASSERT_TRUE(window);
    const HWND first = SaverHostState.saverWindow;
    SetUsePassword(true);
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_EQ(SaverHostState.saverWindow, first);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);
    EXPECT_EQ(ReadWholeFile(log), "");
}

}  // namespace
