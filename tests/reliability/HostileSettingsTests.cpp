// Hand-edited settings against the built saver on the 1024 x 768 display: the
// full-screen run starts, burns or stays black as its settings say and ends
// with 0 on a key; the settings dialog opens and OK stores values in range.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/KeptSettings.h"
#include "support/SaverProcess.h"
#include "support/ScreenCheck.h"

namespace {

// Each case's own name, for the test's name.
template <typename Case>
std::string NameOf(const ::testing::TestParamInfo<Case>& tested)
{
    return tested.param.name;
}

constexpr int ScreenWidth = 1024;
constexpr int ScreenHeight = 768;

enum class Look {
    Centred,    // the grid at its own size in the middle, black around it
    Stretched,  // over the whole screen
    Black,      // nothing is ever drawn but black
    SownOnce,   // burns from the hot spots of the first frame only
};

struct Expected {
    Look look;
    RECT fire;  // where the picture lies
};

// The picture that settings give on this screen: a grid of the screen divided
// by "Size" (below 1 counts as 4), sown with width / "Fire type" hot spots.
Expected ExpectedFor(int size, int scaling, int newFire, int fireType)
{
    const int divisor = size < 1 ? 4 : size;
    const int width = ScreenWidth / divisor;
    const int height = ScreenHeight / divisor;
    const bool sows = width >= 3 && height >= 2 && fireType >= 1 && width / fireType > 0;
    if (!sows) return {Look::Black, {0, 0, 0, 0}};
    if (scaling != 0) return {Look::Stretched, {0, 0, ScreenWidth, ScreenHeight}};
    const LONG left = (ScreenWidth - width) / 2;
    const LONG top = (ScreenHeight - height) / 2;
    const RECT fire = {left, top, left + width, top + height};
    // A countdown that does not come back to 0 in a test's lifetime.
    return {newFire < 0 || newFire > 1000000 ? Look::SownOnce : Look::Centred, fire};
}

Expected ExpectedFromFile()
{
    return ExpectedFor(ReadSetting("Size", 4), ReadSetting("Scaling", 0),
                       ReadSetting("New fire", 8), ReadSetting("Fire type", 8));
}

class HostileSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUsePassword(false);
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), ScreenWidth);
        ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), ScreenHeight);
    }

    // Starts the full-screen run, checks its picture against what the file
    // says, and ends it with a key.
    void RunFullScreen(const Expected& expected)
    {
        SaverProcess run;
        ASSERT_TRUE(StartSaver(SaverPath(), "/s", run)) << SaverPath();
        HWND window = WaitForFullScreen(run);
        ASSERT_TRUE(window) << "no full-screen window";
        RECT rect = {};
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.right - rect.left, ScreenWidth);
        EXPECT_EQ(rect.bottom - rect.top, ScreenHeight);

        switch (expected.look) {
        case Look::Centred:
            WatchCentredFire(expected.fire);
            break;
        case Look::Stretched:
            WatchStretchedFire();
            break;
        case Look::Black:
            WatchBlackness();
            break;
        case Look::SownOnce:
            WatchFireSownOnce(expected.fire);
            break;
        }
        EXPECT_TRUE(StillRunning(run)) << "the run ended on its own";
        PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_EQ(WaitForExit(run), 0u);
    }

    // Every picture stays inside its rectangle in fire colours; soon enough
    // the fire burns up from the rectangle's bottom.
    void WatchCentredFire(const RECT& fire)
    {
        const int wanted = std::max(100, static_cast<int>((fire.right - fire.left) *
                                                           (fire.bottom - fire.top) / 400));
        const DWORD start = GetTickCount();
        FireLook look;
        do {
            Pump(100);
            look = LookAt(CaptureScreen(), fire);
            ASSERT_EQ(look.litOutside, 0) << "drawn outside the centred picture";
            ASSERT_EQ(look.strange, 0) << std::hex << look.firstStrange;
        } while ((look.lit < wanted || look.litNearBottom == 0) && GetTickCount() - start < Patience);
        EXPECT_GE(look.lit, wanted) << "the fire burns";
        EXPECT_GT(look.litNearBottom, 0) << "from the bottom up";
    }

    void WatchStretchedFire()
    {
        const RECT screen = {0, 0, ScreenWidth, ScreenHeight};
        const DWORD start = GetTickCount();
        int litLowRow = 0;
        do {
            Pump(100);
            const Screenshot shot = CaptureScreen();
            const FireLook look = LookAt(shot, screen);
            ASSERT_EQ(look.strange, 0) << std::hex << look.firstStrange;
            // Stretched fourfold, the fire's lowest rows reach the screen's edge.
            litLowRow = 0;
            for (int x = 0; x < ScreenWidth; ++x) litLowRow += shot.At(x, ScreenHeight - 2) != 0;
        } while (litLowRow <= 50 && GetTickCount() - start < Patience);
        EXPECT_GT(litLowRow, 50) << "the stretched fire reaches the bottom edge";
    }

    // Black before and after a stretch of a second and more, in which a
    // saver that drew would have drawn dozens of frames.
    void WatchBlackness()
    {
        const RECT none = {0, 0, 0, 0};
        for (int look = 0; look < 3; ++look) {
            Pump(700);
            const FireLook seen = LookAt(CaptureScreen(), none);
            EXPECT_EQ(seen.litOutside, 0) << "look " << look << ": the screen stays black";
        }
    }

    // Hot spots lie only in the grid's bottom row, which spreading never
    // writes: shown as white there. Sown once, the grid that was sown keeps
    // the very same white columns for ever; the other one shows none.
    void WatchFireSownOnce(const RECT& fire)
    {
        std::vector<std::vector<int>> seen;
        const DWORD start = GetTickCount();
        while (seen.size() < 4 && GetTickCount() - start < Patience) {
            Pump(60);
            const Screenshot shot = CaptureScreen();
            const FireLook look = LookAt(shot, fire);
            ASSERT_EQ(look.litOutside, 0);
            ASSERT_EQ(look.strange, 0) << std::hex << look.firstStrange;
            std::vector<int> hot = HottestColumns(shot, fire.bottom - 1, fire.left, fire.right);
            if (!hot.empty()) seen.push_back(hot);
        }
        ASSERT_GE(seen.size(), 2u) << "the first sowing shows in the bottom row";
        for (size_t i = 1; i < seen.size(); ++i)
            EXPECT_EQ(seen[i], seen[0]) << "hot spots changed: sown again";
    }

    KeptSettings kept;
};

struct FullScreenCase {
    const char* name;
    const char* lines;  // the saver's section of the settings file
    Look look;
    RECT fire;
};

const RECT DefaultFire = {384, 288, 640, 480};  // 256 x 192 in the middle
const RECT NoFire = {0, 0, 0, 0};
const RECT WholeScreen = {0, 0, ScreenWidth, ScreenHeight};

const FullScreenCase FullScreenCases[] = {
    {"SizeZeroCountsAsFour", "Size=0\r\n", Look::Centred, DefaultFire},
    {"SizeMinusOneCountsAsFour", "Size=-1\r\n", Look::Centred, DefaultFire},
    {"SizeOneFillsTheScreen", "Size=1\r\n", Look::Centred, WholeScreen},
    {"SizeThree", "Size=3\r\n", Look::Centred, {341, 256, 341 + 341, 256 + 256}},
    {"SizeMillionLeavesNoGrid", "Size=1000000\r\n", Look::Black, NoFire},
    {"SizeLargestLeavesNoGrid", "Size=2147483647\r\n", Look::Black, NoFire},
    {"FireTypeZeroSowsNothing", "Fire type=0\r\n", Look::Black, NoFire},
    {"FireTypeNegativeSowsNothing", "Fire type=-5\r\n", Look::Black, NoFire},
    {"FireTypeWiderThanTheGridSowsNothing", "Fire type=99999\r\n", Look::Black, NoFire},
    {"NewFireNegativeSowsOnce", "New fire=-1\r\n", Look::SownOnce, DefaultFire},
    {"NewFireLargestSowsOnce", "New fire=2147483647\r\n", Look::SownOnce, DefaultFire},
    {"ScalingSevenStretches", "Scaling=7\r\n", Look::Stretched, WholeScreen},
    {"SizeNoNumberCountsAsFour", "Size=abc\r\n", Look::Centred, DefaultFire},
    {"EmptyFireTypeTakesTheDefault", "Fire type=\r\n", Look::Centred, DefaultFire},
    {"SizeWithBlanks", "Size =  8  \r\n", Look::Centred, {448, 336, 448 + 128, 336 + 96}},
    {"FireTypeWithInnerBlank", "Fire type=1 6\r\n", Look::Centred, DefaultFire},
};

class HostileFullScreen : public HostileSettings,
                          public ::testing::WithParamInterface<FullScreenCase> {};

TEST_P(HostileFullScreen, StartsDrawsAsTheRulesSayAndEndsOnAKey)
{
    const FullScreenCase& c = GetParam();
    ASSERT_TRUE(WriteSettingsSection(c.lines));
    // The platform reads the file as the saver will; the case says what that gives.
    const Expected expected = ExpectedFromFile();
    ASSERT_EQ(static_cast<int>(expected.look), static_cast<int>(c.look));
    if (c.look != Look::Black) {
        ASSERT_EQ(expected.fire.left, c.fire.left);
        ASSERT_EQ(expected.fire.top, c.fire.top);
        ASSERT_EQ(expected.fire.right, c.fire.right);
        ASSERT_EQ(expected.fire.bottom, c.fire.bottom);
    }
    RunFullScreen(expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, HostileFullScreen, ::testing::ValuesIn(FullScreenCases),
                         NameOf<FullScreenCase>);

TEST_F(HostileSettings, DefaultsSowAgainAndAgain)
{
    // What the sown-once cases rule out: with the defaults the bottom row's
    // hot spots change from one sowing to the next.
    ASSERT_TRUE(WriteSettingsSection(""));
    SaverProcess run;
    ASSERT_TRUE(StartSaver(SaverPath(), "/s", run));
    HWND window = WaitForFullScreen(run);
    ASSERT_TRUE(window);
    std::vector<std::vector<int>> seen;
    const DWORD start = GetTickCount();
    bool changed = false;
    while (!changed && GetTickCount() - start < Patience) {
        Pump(60);
        const Screenshot shot = CaptureScreen();
        std::vector<int> hot = HottestColumns(shot, DefaultFire.bottom - 1, DefaultFire.left,
                                              DefaultFire.right);
        if (hot.empty()) continue;
        changed = !seen.empty() && hot != seen.back();
        seen.push_back(hot);
    }
    EXPECT_TRUE(changed) << "the hot spots never changed";
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(WaitForExit(run), 0u);
}

// About a megabyte of other programs' sections ahead of the saver's own.
std::string MegabyteOfOtherSections()
{
    std::string text;
    for (int section = 0; text.size() < (1u << 20); ++section) {
        text += "[Other program " + std::to_string(section) + "]\r\n";
        for (int key = 0; key < 8; ++key)
            text += "Key" + std::to_string(key) + "=" + std::string(100, 'a' + key) + "\r\n";
    }
    return text;
}

TEST_F(HostileSettings, MegabyteFileStillFindsTheSection)
{
    const std::string others = MegabyteOfOtherSections();
    ASSERT_TRUE(WriteWholeFile(SettingsFilePath(),
                               others + "[Screen Saver.Embrix]\r\nSize=8\r\n"));
    ASSERT_EQ(ReadSetting("Size", 4), 8);
    RunFullScreen({Look::Centred, {448, 336, 448 + 128, 336 + 96}});
}

TEST_F(HostileSettings, MegabyteValueStartsAndEnds)
{
    ASSERT_TRUE(WriteSettingsSection("Size=" + std::string(1u << 20, '7') + "\r\n"));
    RunFullScreen(ExpectedFromFile());
}

// The settings dialog: opened on a hostile file, OK stores what it shows.
struct DialogCase {
    const char* name;
    const char* lines;
    int size, scaling, newFire, fireType;  // what OK must store
};

const DialogCase DialogCases[] = {
    {"ZerosAndNegatives", "Size=0\r\nScaling=7\r\nNew fire=-1\r\nFire type=0\r\n", 4, 0, 0, 4},
    {"MinusOneAndLargest", "Size=-1\r\nNew fire=2147483647\r\nFire type=-5\r\n", 4, 0, 0, 4},
    {"TooLarge", "Size=1000000\r\nFire type=99999\r\n", 4, 0, 8, 4},
    {"LargestAndJustOutside", "Size=2147483647\r\nNew fire=17\r\nFire type=3\r\n", 4, 0, 0, 4},
    {"SizeOne", "Size=1\r\n", 4, 0, 8, 10},
    {"SizeThree", "Size=3\r\n", 4, 0, 8, 10},
    {"TextNoNumberAndEmpty", "Size=abc\r\nNew fire=\r\nFire type=  12  \r\n", 4, 0, 8, 12},
    {"TextWithBlanks", "Size= 8 \r\nScaling= \r\nNew fire=1 6\r\nFire type=x9\r\n", 8, 0, 1, 4},
};

class SettingsDialogRun : public HostileSettings {
protected:
    // Opens the dialog, presses OK and gives the exit code.
    DWORD OpenAndConfirm()
    {
        SaverProcess run;
        if (!StartSaver(SaverPath(), "/c", run)) return NoExit;
        HWND dialog = WaitForSettingsDialog(run);
        EXPECT_TRUE(dialog) << "no settings dialog";
        if (dialog)
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return WaitForExit(run);
    }

    void ExpectStored(int size, int scaling, int newFire, int fireType)
    {
        EXPECT_EQ(ReadSetting("Size", -99), size);
        EXPECT_EQ(ReadSetting("Scaling", -99), scaling);
        EXPECT_EQ(ReadSetting("New fire", -99), newFire);
        EXPECT_EQ(ReadSetting("Fire type", -99), fireType);
    }
};

class HostileDialog : public SettingsDialogRun, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(HostileDialog, OpensAndOkStoresValuesInRange)
{
    const DialogCase& c = GetParam();
    ASSERT_TRUE(WriteSettingsSection(c.lines));
    EXPECT_EQ(OpenAndConfirm(), 1u);
    ExpectStored(c.size, c.scaling, c.newFire, c.fireType);
}

INSTANTIATE_TEST_SUITE_P(Settings, HostileDialog, ::testing::ValuesIn(DialogCases),
                         NameOf<DialogCase>);

using HostileDialogFile = SettingsDialogRun;

TEST_F(HostileDialogFile, MegabyteFileKeepsTheOtherSections)
{
    const std::string others = MegabyteOfOtherSections();
    ASSERT_TRUE(WriteWholeFile(SettingsFilePath(),
                               others + "[Screen Saver.Embrix]\r\nSize=8\r\nNew fire=-3\r\n"));
    EXPECT_EQ(OpenAndConfirm(), 1u);
    ExpectStored(8, 0, 0, 10);
    EXPECT_GE(ReadWholeFile(SettingsFilePath()).size(), others.size());
    char value[128] = "";
    GetPrivateProfileStringA("Other program 0", "Key7", "", value, sizeof value, "control.ini");
    EXPECT_EQ(std::string(value), std::string(100, 'h'));
}

TEST_F(HostileDialogFile, MegabyteValueBecomesFour)
{
    ASSERT_TRUE(WriteSettingsSection("Size=" + std::string(1u << 20, '7') + "\r\n"));
    const int read = ReadSetting("Size", 4);
    EXPECT_EQ(OpenAndConfirm(), 1u);
    ExpectStored(read == 2 || read == 8 ? read : 4, 0, 8, 10);
}

}  // namespace
