// The built saver as the platform starts it: full screen on a 1024 x 768
// display and as a preview, with its pixels read back from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/SaverProcess.h"
#include "support/ScreenCheck.h"

namespace {

const char SettingsSectionName[] = "Screen Saver.Embrix";

// Whether the process ends within the time given; it is not waited for further.
bool EndsWithin(const SaverProcess& saver, DWORD milliseconds)
{
    return WaitForSingleObject(saver.process, milliseconds) == WAIT_OBJECT_0;
}

void PressKey(WORD key)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

class SaverEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The effect's defaults, and no password.
        WritePrivateProfileStringA(SettingsSectionName, nullptr, nullptr, "control.ini");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword");
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
        ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    }
    void TearDown() override
    {
        WritePrivateProfileStringA(SettingsSectionName, nullptr, nullptr, "control.ini");
    }
};

TEST_F(SaverEndToEnd, FullScreenShowsTheCentredFireAndEndsOnAKey)
{
    SaverProcess saver;
    ASSERT_TRUE(StartSaver(SaverPath(), "/s", saver)) << SaverPath();
    HWND window = WaitForFullScreen(saver);
    ASSERT_TRUE(window);
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 1024);
    EXPECT_EQ(rect.bottom, 768);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & 0xFFFF0000u, 0x96000000u);

    Pump(2000);  // the fire needs a few dozen frames to rise
    FireLook look = LookAt(CaptureScreen(), {384, 288, 640, 480});
    EXPECT_EQ(look.litOutside, 0);
    EXPECT_EQ(look.strange, 0) << std::hex << look.firstStrange;
    EXPECT_GT(look.lit, 256) << "the fire burns";

    SetForegroundWindow(window);
    PressKey(VK_SPACE);
    if (!EndsWithin(saver, 10000)) {  // input went elsewhere; the message itself must still end it
        PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        ADD_FAILURE() << "the key press did not reach the saver";
    }
    EXPECT_EQ(WaitForExit(saver), 0u);
}

TEST_F(SaverEndToEnd, StretchedFireCoversTheWholeScreen)
{
    WritePrivateProfileStringA(SettingsSectionName, "Scaling", "1", "control.ini");
    SaverProcess saver;
    ASSERT_TRUE(StartSaver(SaverPath(), "/s", saver));
    HWND window = WaitForFullScreen(saver);
    ASSERT_TRUE(window);
    Pump(2000);
    Screenshot shot = CaptureScreen();
    FireLook look = LookAt(shot, {0, 0, 1024, 768});
    EXPECT_EQ(look.strange, 0) << std::hex << look.firstStrange;
    int litBottomRows = 0;  // stretched 4x: the fire reaches the bottom edge
    for (int x = 0; x < 1024; ++x) litBottomRows += shot.At(x, 766) != 0;
    EXPECT_GT(litBottomRows, 50);
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(WaitForExit(saver), 0u);
}

TEST_F(SaverEndToEnd, SecondFullScreenRunBringsTheFirstForward)
{
    SaverProcess first;
    ASSERT_TRUE(StartSaver(SaverPath(), "/s", first));
    HWND window = WaitForFullScreen(first);
    ASSERT_TRUE(window);
    EXPECT_EQ(RunToExit(SaverPath(), QuotedCommand(SaverPath(), "/s")), 0u);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(StillRunning(first));
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(WaitForExit(first), 0u);
}

TEST_F(SaverEndToEnd, PreviewDrawsInsideItsParentAndEndsWithIt)
{
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = DefWindowProcA;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.lpszClassName = "EmbrixPreviewParent";
    RegisterClassA(&parentClass);
    // 152 x 112 of client area: a popup without a frame has no more.
    HWND parent = CreateWindowExA(0, "EmbrixPreviewParent", "Preview parent",
                                  WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 500, 500, 152, 112,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    SaverProcess saver;
    ASSERT_TRUE(StartSaver(SaverPath(), "/p " + std::to_string(reinterpret_cast<uintptr_t>(parent)),
                           saver));
    HWND preview = WaitForPreview(parent, saver);
    ASSERT_TRUE(preview);
    RECT client = {};
    GetClientRect(preview, &client);
    EXPECT_EQ(client.right, 152);
    EXPECT_EQ(client.bottom, 112);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(preview, GWL_STYLE)) & 0xFFFF0000u, 0x52000000u);

    // What a process draws into another's child is not shown here; lend the
    // preview to the desktop for the look, then give it back.
    SetParent(preview, GetDesktopWindow());
    SetWindowPos(preview, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Pump(1500);
    FireLook look = LookAt(CaptureScreen(), {0, 0, 152, 112}, {57, 42, 57 + 38, 42 + 28});
    EXPECT_EQ(look.litOutside, 0);
    EXPECT_EQ(look.strange, 0) << std::hex << look.firstStrange;
    EXPECT_GT(look.lit, 10);
    SetParent(preview, parent);

    DestroyWindow(parent);
    EXPECT_EQ(WaitForExit(saver), 0u);
}

}  // namespace
