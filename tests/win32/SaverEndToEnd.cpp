// The built saver as the platform starts it, on the 1024 x 768 display.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/FirePicture.h"
#include "support/TestSupport.h"

namespace {

const RECT WholeScreen = {0, 0, 1024, 768};

struct Row {
    const char* name;
    const char* settings;  // null: no settings file
    int width, height;     // a preview parent's client area
};

struct Grids : ::testing::TestWithParam<Row> {
    void SetUp() override
    {
        SetUsePassword(false);
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN) * 1000 + GetSystemMetrics(SM_CYSCREEN), 1024768);
        ASSERT_TRUE(WriteSettingsSection(GetParam().settings));
    }
    KeptSettings kept;
};

using FullScreen = Grids;

// The window covers the screen, a key ends the run; what the fire looks like
// is the in-process screen test's and the two monitors' test's.
TEST_P(FullScreen, CoversTheScreenRunsAndEndsOnAKey)
{
    SaverProcess saver;
    ASSERT_TRUE(StartProgram(SaverPath(), "/s", saver)) << SaverPath();
    HWND window = WaitForWindow(saver);
    ASSERT_TRUE(window);
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_TRUE(EqualRect(&rect, &WholeScreen)) << rect.right << " x " << rect.bottom;
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & 0xFFFF0000u, 0x96000000u);
    Pump(1000);  // frames run meanwhile
    EXPECT_TRUE(StillRunning(saver)) << "the run ended on its own";
    SetForegroundWindow(window);
    keybd_event(VK_SPACE, 0, 0, 0);  // through the platform's input
    keybd_event(VK_SPACE, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_EQ(WaitForExit(saver), 0u) << "the key press did not end the run";
}

INSTANTIATE_TEST_SUITE_P(Settings, FullScreen, ::testing::Values(Row{"Defaults", nullptr, 0, 0}),
                         RowName());

using Preview = Grids;

TEST_P(Preview, FillsItsParentRunsAndEndsWithIt)
{
    HWND parent = MakeParentWindow(GetParam().width, GetParam().height);
    RECT client = {}, inside = {};
    GetClientRect(parent, &client);

    SaverProcess saver;
    ASSERT_TRUE(StartProgram(SaverPath(), "/p " + HandleText(parent), saver));
    HWND preview = WaitForWindow(saver, "Preview", "WindowsScreenSaverClass", parent);
    ASSERT_TRUE(preview) << "no preview inside the parent";
    GetClientRect(preview, &inside);
    EXPECT_TRUE(EqualRect(&inside, &client));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(preview, GWL_STYLE)) & 0xFFFF0000u, 0x52000000u);
    Pump(1000);  // frames run meanwhile, on whatever grid this size gives
    EXPECT_TRUE(StillRunning(saver)) << "the preview ended on its own";
    DestroyWindow(parent);
    EXPECT_EQ(WaitForExit(saver), 0u);
}

INSTANTIATE_TEST_SUITE_P(Settings, Preview,
                         ::testing::Values(Row{"Defaults", nullptr, 152, 112},
                                           Row{"NoClientArea", "Size=1\r\n", 0, 0},
                                           Row{"LargerThanTheScreen", "Size=1\r\n", 4000, 3000}),
                         RowName());

// Xephyr's 1024 x 768 primary at (0, 0) and 1280 x 1024 monitor at
// (1024, 0), as tools/test sets them up; one monitor fails here. Each burns
// a fire of its own, both a frame of the same number, black around them.
TEST(TwoMonitors, EachBurnsItsOwnFireAndBothAdvanceTogether)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    const RECT desk = {0, 0, 2304, 1024};
    const std::vector<ExpectedFire> fires = {{{384, 288, 256, 192}, 256, 192, 1},
                                             {{1504, 384, 320, 256}, 320, 256, 2}};
    KeptSettings kept;
    SetUsePassword(false);
    ASSERT_TRUE(WriteSettingsSection(nullptr));
    SaverProcess saver;
    ASSERT_TRUE(StartProgram(SaverPath(), "/s", saver));
    HWND window = WaitForWindow(saver);
    ASSERT_TRUE(window);
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_TRUE(EqualRect(&rect, &desk)) << rect.right << " x " << rect.bottom;
    std::string seen;  // a screenshot taken between two monitors' pictures is taken again
    for (int tries = 0; tries < 20 && seen.find("same ") != 0; ++tries) {
        Pump(300);
        const Screenshot shot = CaptureScreen();
        std::vector<uint32_t> image(shot.pixels.size());
        for (size_t i = 0; i < image.size(); ++i) image[i] = shot.pixels[i] & 0xFFFFFF;
        const int32_t left = FrameShown(image, shot.width, fires[0], 8, 8, 3000);
        const int32_t right = FrameShown(image, shot.width, fires[1], 8, 8, 3000);
        seen = std::string(left && left == right ? "same " : "frames ") + std::to_string(left) +
               " " + std::to_string(right);
        if (!BlackAround(image, shot.width, fires)) seen = "drawn outside the fires";
    }
    EXPECT_EQ(seen.find("same "), 0u) << seen;
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(WaitForExit(saver), 0u);
}

TEST(Modes, UnusableCommandLineEndsAtOnceWithMinusOne)
{
    HWND gone = MakeTestWindow("Embrix gone");
    DestroyWindow(gone);
    for (const std::string& tail :
         {std::string("/x"), std::string("/p 0"), "/p " + HandleText(gone)}) {
        SaverProcess run;
        ASSERT_TRUE(StartProgram(SaverPath(), tail, run));
        EXPECT_EQ(WaitForExit(run), static_cast<DWORD>(-1)) << tail;
    }
}

// A folder of its own with the saver and, beside it, a double of a library
// it loads from this program's folder + from; empty if the copies fail.
std::string SaverBeside(const char* name, const char* from, const char* library)
{
    const std::string folder = ProgramFolder() + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const bool copied =
        CopyFileA(SaverPath().c_str(), (folder + "Embrix.scr").c_str(), FALSE) &&
        CopyFileA((ProgramFolder() + from + library).c_str(), (folder + library).c_str(), FALSE);
    return copied ? folder : "";
}

// Beside the saver, the double is taken for the platform's library with
// mpr=n,b in WINEDLLOVERRIDES, which Wine reads when a process starts.
TEST(Modes, PasswordChangeIsOwnedByTheNamedWindowOrElseTheForeground)
{
    const std::string folder = SaverBeside("change", "mpr\\", "MPR.DLL"), log = folder + "mpr.log";
    ASSERT_NE(folder, "");
    SetEnvironmentVariableA("EMBRIX_MPR_DOUBLE_LOG", log.c_str());
    HWND owner = MakeTestWindow("Embrix owner");
    HWND gone = MakeTestWindow("Embrix gone");
    DestroyWindow(gone);
    HWND foreground = MakeTestWindow("Embrix foreground");
    ASSERT_EQ(GetForegroundWindow(), foreground) << "the test window could not come to the front";
    const struct {
        std::string tail;
        HWND owner;
    } rows[] = {{"/a " + HandleText(owner), owner},
                {"/a", foreground},
                {"/a " + HandleText(gone), foreground}};
    for (const auto& row : rows) {
        DeleteFileA(log.c_str());
        SaverProcess run;
        ASSERT_TRUE(StartProgram(folder + "Embrix.scr", row.tail, run));
        EXPECT_EQ(WaitForExit(run), 0u) << row.tail;
        EXPECT_EQ(ReadWholeFile(log), "SCRSAVE " + HandleText(row.owner) + " 0 0\n") << row.tail;
    }
    DestroyWindow(owner), DestroyWindow(foreground);
}

// Beside the verifier double, which logs the saver-running state from inside
// the saver. With no crash dialog and no debugger the guard acts.
TEST(Faults, FaultingVerifierEndsThroughTheGuardWithTheStateLowered)
{
    KeptSettings kept;
    // No debugger (Wine's prefix names winedbg whatever the error mode), as
    // on a machine without one.
    const char aeDebug[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
    KeptValue debugger(HKEY_LOCAL_MACHINE, aeDebug, "Debugger");
    PutText(HKEY_LOCAL_MACHINE, aeDebug, "Debugger", "embrix-no-such-debugger.exe %ld %ld");
    SetErrorMode(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
    SetUsePassword(true);
    const std::string folder = SaverBeside("faults", "", "PASSWORD.CPL"),
                      log = folder + "probe.log";
    ASSERT_NE(folder, "");
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("EMBRIX_PROBE_LOG", log.c_str());
    SetEnvironmentVariableA("EMBRIX_PROBE_ANSWER", "fault");
    SaverProcess run;
    ASSERT_TRUE(StartProgram(folder + "Embrix.scr", "/s", run));
    PostMessageA(WaitForWindow(run), WM_KEYDOWN, VK_SPACE, 0);
    const std::string id = std::to_string(run.id);
    WaitForExit(run);
    EXPECT_EQ(ReadWholeFile(log), id + " attach running=0\r\n" + id +
                                      " verify fault running=1\r\n" + id + " exit running=0\r\n");
}

}  // namespace
