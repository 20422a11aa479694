// The built saver full screen on two monitors: Xvfb's 1024 x 768 screen 0
// (the primary) and 1280 x 1024 screen 1, both at the origin, as tools/test
// sets them up. The window covers both, the fire keeps to the primary.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/SaverProcess.h"
#include "support/ScreenCheck.h"

namespace {

const char SettingsSectionName[] = "Screen Saver.Embrix";

TEST(TwoMonitors, WindowCoversBothAndTheFireStaysOnThePrimary)
{
    // On one monitor this proves nothing: fail rather than pass.
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    ASSERT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), 0);
    ASSERT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), 0);
    ASSERT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1280);
    ASSERT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1024);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword");

    const struct {
        const char* scaling;
        RECT fire;
    } looks[] = {{"0", {384, 288, 640, 480}}, {"1", {0, 0, 1024, 768}}};
    for (const auto& look : looks) {
        SCOPED_TRACE(std::string("Scaling ") + look.scaling);
        WritePrivateProfileStringA(SettingsSectionName, nullptr, nullptr, "control.ini");
        WritePrivateProfileStringA(SettingsSectionName, "Scaling", look.scaling, "control.ini");
        SaverProcess saver;
        ASSERT_TRUE(StartSaver(SaverPath(), "/s", saver)) << SaverPath();
        HWND window = WaitForFullScreen(saver);
        ASSERT_TRUE(window);
        RECT rect = {}, virtualScreen = {0, 0, 1280, 1024};
        GetWindowRect(window, &rect);
        EXPECT_TRUE(EqualRect(&rect, &virtualScreen)) << rect.right << " x " << rect.bottom;

        Pump(2000);  // the fire needs a few dozen frames to rise
        const FireLook seen = LookAt(CaptureScreen(), look.fire);
        EXPECT_EQ(seen.litOutside, 0) << "the second monitor and the margins stay black";
        EXPECT_EQ(seen.strange, 0) << std::hex << seen.firstStrange;
        EXPECT_GT(seen.litNearBottom, 20) << "the fire burns up from the primary's bottom";
        PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_EQ(WaitForExit(saver), 0u);
    }
    WritePrivateProfileStringA(SettingsSectionName, nullptr, nullptr, "control.ini");
}

}  // namespace
