// The built saver as the platform starts it, on the 1024 x 768 display: full
// screen and as a preview, one run for each kind of grid its settings and
// its window give, with the picture read back from the screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/KeptSettings.h"
#include "support/SaverProcess.h"
#include "support/ScreenCheck.h"

namespace {

const RECT NoFire = {0, 0, 0, 0};
const RECT WholeScreen = {0, 0, 1024, 768};

struct SaverEndToEnd : ::testing::Test {
    void SetUp() override
    {
        SetUsePassword(false);
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
        ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    }
    KeptSettings kept;
};

// Watches the screen until the fire burns up from the bottom of its
// rectangle, in fire colours, with nothing drawn around it; with no
// rectangle, watches a black screen for two seconds (dozens of frames).
void ExpectPicture(const RECT& area, const RECT& fire)
{
    const LONG size = (fire.right - fire.left) * (fire.bottom - fire.top);
    const int wanted = static_cast<int>(std::max(10L, size / 400));
    const DWORD start = GetTickCount();
    FireLook look;
    do {
        Pump(100);
        look = LookAt(CaptureScreen(), area, fire);
        ASSERT_EQ(look.litOutside, 0) << "drawn outside the fire's rectangle";
        ASSERT_EQ(look.strange, 0) << std::hex << look.firstStrange;
        if (size == 0 && GetTickCount() - start > 2000) return;
    } while ((look.lit < wanted || look.litNearBottom == 0) && GetTickCount() - start < Patience);
    EXPECT_GE(look.lit, wanted) << "the fire burns";
    EXPECT_GT(look.litNearBottom, 0) << "from the bottom up";
}

struct FullScreenRow {
    const char* name;
    const char* settings;  // the saver's section of the settings file
    RECT fire;             // where the picture lies
};

const FullScreenRow FullScreenRows[] = {
    {"Defaults", nullptr, {384, 288, 640, 480}},  // 256 x 192 in the middle
    {"SizeBelowOneCountsAsFour", "Size=0\r\n", {384, 288, 640, 480}},
    {"OddWidthCentred", "Size=3\r\n", {341, 256, 341 + 341, 256 + 256}},
    {"WholeScreen", "Size=1\r\n", WholeScreen},
    {"NoGridStaysBlack", "Size=1000000\r\n", NoFire},
    {"NoSowingStaysBlack", "Fire type=0\r\n", NoFire},
    {"StretchedToTheBottomEdge", "Scaling=1\r\n", WholeScreen},
};

struct FullScreen : SaverEndToEnd, ::testing::WithParamInterface<FullScreenRow> {};

TEST_P(FullScreen, CoversTheScreenDrawsItsGridAndEndsOnAKey)
{
    if (GetParam().settings)
        ASSERT_TRUE(WriteSettingsSection(GetParam().settings));
    else
        DeleteFileA(SettingsFilePath().c_str());
    SaverProcess saver;
    ASSERT_TRUE(StartSaver(SaverPath(), "/s", saver)) << SaverPath();
    HWND window = WaitForFullScreen(saver);
    ASSERT_TRUE(window);
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_TRUE(EqualRect(&rect, &WholeScreen));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & 0xFFFF0000u, 0x96000000u);

    ExpectPicture(WholeScreen, GetParam().fire);
    EXPECT_TRUE(StillRunning(saver)) << "the run ended on its own";
    SetForegroundWindow(window);
    PressKey(VK_SPACE);
    if (WaitForSingleObject(saver.process, 10000) != WAIT_OBJECT_0) {
        PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);  // the message itself must still end it
        ADD_FAILURE() << "the key press did not reach the saver";
    }
    EXPECT_EQ(WaitForExit(saver), 0u);
}

INSTANTIATE_TEST_SUITE_P(Grids, FullScreen, ::testing::ValuesIn(FullScreenRows), RowName());

struct PreviewRow {
    const char* name;
    int width, height;     // the parent's client area
    const char* settings;  // the saver's section of the settings file
    RECT fire;             // where the picture lies, when it is looked at
};

const PreviewRow PreviewRows[] = {
    {"Defaults", 152, 112, "", {57, 42, 57 + 38, 42 + 28}},
    {"NoClientArea", 0, 0, "Size=1\r\n", NoFire},
    {"GridTooSmallToSpread", 2, 2, "Size=1\r\n", NoFire},
    {"SmallestGridThatSpreads", 3, 2, "Size=1\r\n", NoFire},
    {"OddWidth", 5, 3, "Size=1\r\n", NoFire},
    {"LargerThanTheScreen", 4000, 3000, "Size=1\r\n", NoFire},
};

struct Preview : SaverEndToEnd, ::testing::WithParamInterface<PreviewRow> {};

TEST_P(Preview, FillsItsParentRunsAndEndsWithIt)
{
    const PreviewRow& row = GetParam();
    ASSERT_TRUE(WriteSettingsSection(row.settings));
    HWND parent = MakeParentWindow(row.width, row.height);
    ASSERT_TRUE(parent);
    RECT client = {};
    GetClientRect(parent, &client);
    ASSERT_EQ(client.right, row.width);
    ASSERT_EQ(client.bottom, row.height);

    SaverProcess saver;
    ASSERT_TRUE(StartSaver(SaverPath(), "/p " + HandleText(parent), saver));
    HWND preview = WaitForPreview(parent, saver);
    ASSERT_TRUE(preview) << "no preview inside the parent";
    RECT inside = {};
    GetClientRect(preview, &inside);
    EXPECT_TRUE(EqualRect(&inside, &client));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(preview, GWL_STYLE)) & 0xFFFF0000u, 0x52000000u);

    if (!IsRectEmpty(&row.fire)) {
        // What a process draws into another's child is not shown here; lend
        // the preview to the desktop for the look, then give it back.
        SetParent(preview, GetDesktopWindow());
        SetWindowPos(preview, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        ExpectPicture(client, row.fire);
        SetParent(preview, parent);
    } else {
        Pump(1000);  // frames run meanwhile, on whatever grid this size gives
    }
    EXPECT_TRUE(StillRunning(saver)) << "the preview ended on its own";
    DestroyWindow(parent);
    EXPECT_EQ(WaitForExit(saver), 0u);
}

INSTANTIATE_TEST_SUITE_P(Grids, Preview, ::testing::ValuesIn(PreviewRows), RowName());

}  // namespace
