// The host's own handling before the effect: creation and destruction work,
// the title, blocked system commands, help in the preview, and the end of
// drawing once a close has been allowed.
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include <utility>

#include "WindowTestSupport.h"
#include "fire/FireSettings.h"
#include "fire/FireWindowProc.h"
#include "host/SaverHostState.h"

namespace {

class HostWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSaverRecords();
        WritePrivateProfileStringA(SettingsSection, nullptr, nullptr, SettingsFile);
    }
    void TearDown() override
    {
        if (saver && IsWindow(saver)) {
            SaverHostState.closeAllowed = 1;
            DestroyWindow(saver);
        }
        if (parent && IsWindow(parent)) DestroyWindow(parent);
        PumpFor(20);
    }
    HWND OpenFullScreen()
    {
        saver = CreateSaverWindowForTests(nullptr);
        return saver;
    }
    HWND OpenPreview()
    {
        parent = CreateTestParent(152, 112);
        saver = CreateSaverWindowForTests(parent);
        return saver;
    }
    HWND saver = nullptr;
    HWND parent = nullptr;
};

TEST_F(HostWindow, CreationTakesThePointerOriginAndTheInputContext)
{
    SetCursorPos(321, 234);
    ASSERT_TRUE(OpenFullScreen());
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 321);
    EXPECT_EQ(SaverHostState.cursorOrigin.y, 234);
    // Only a library the process already has is used.
    EXPECT_EQ(SaverHostState.imeLibrary, GetModuleHandleA("IMM32.DLL"));
    if (SaverHostState.imeLibrary) {
        EXPECT_TRUE(SaverHostState.associateContext);
        EXPECT_EQ(ImmGetContext(saver), nullptr) << "the window has no input context";
    }
}

TEST_F(HostWindow, DestructionRestoresTheContextAndEndsTheLoop)
{
    ASSERT_TRUE(OpenFullScreen());
    HIMC saved = SaverHostState.savedInputContext;
    SaverHostState.closeAllowed = 1;
    DestroyWindow(saver);
    EXPECT_FALSE(IsWindow(saver));
    PumpFor(30);
    EXPECT_TRUE(QuitSeen);
    EXPECT_EQ(SaverHostState.savedInputContext, saved);
}

TEST_F(HostWindow, TitleCannotBeChanged)
{
    ASSERT_TRUE(OpenFullScreen());
    EXPECT_EQ(SendMessageA(saver, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
    char title[64] = {};
    GetWindowTextA(saver, title, sizeof title);
    EXPECT_STREQ(title, "Screen Saver");

    DestroyWindow(saver);
    ASSERT_TRUE(OpenPreview());
    EXPECT_EQ(SendMessageA(saver, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
    GetWindowTextA(saver, title, sizeof title);
    EXPECT_STREQ(title, "Preview");
}

TEST_F(HostWindow, FullScreenBlocksTaskSwitchAndSaverCommandsOnly)
{
    ASSERT_TRUE(OpenFullScreen());
    for (WPARAM command : {WPARAM(SC_NEXTWINDOW), WPARAM(SC_PREVWINDOW), WPARAM(SC_SCREENSAVE)}) {
        EXPECT_EQ(SendMessageA(saver, WM_SYSCOMMAND, command, 0), 0);
        PumpFor(20);
        EXPECT_TRUE(IsWindow(saver)) << std::hex << command;
        EXPECT_EQ(SaverHostState.closeAllowed, 0u);
    }
    // Any other command takes the normal road: a close, allowed at once
    // without a password.
    SendMessageA(saver, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpFor(20);
    EXPECT_FALSE(IsWindow(saver));
    EXPECT_NE(SaverHostState.closeAllowed, 0u);
}

TEST_F(HostWindow, PreviewHelpGoesToTheParent)
{
    ASSERT_TRUE(OpenPreview());
    // Help carries a pointer to its details, the context menu a position.
    HELPINFO help = {};
    help.cbSize = sizeof help;
    help.iContextType = HELPINFO_WINDOW;
    help.hItemHandle = saver;
    const std::pair<UINT, LPARAM> requests[] = {{WM_HELP, reinterpret_cast<LPARAM>(&help)},
                                                {WM_CONTEXTMENU, 0x00560078}};
    for (auto [message, lParam] : requests) {
        LastParentMessage = {};
        EXPECT_EQ(SendMessageA(saver, message, 0x1234, lParam), 1);
        PumpFor(20);
        EXPECT_EQ(LastParentMessage.message, message);
        EXPECT_EQ(LastParentMessage.wParam, reinterpret_cast<WPARAM>(parent));
        EXPECT_EQ(LastParentMessage.lParam, lParam);
    }
    // Without a parent that is a window the request is dropped, still 1.
    SetParent(saver, nullptr);
    LastParentMessage = {};
    EXPECT_EQ(SendMessageA(saver, WM_HELP, 0, 0), 1);
    PumpFor(20);
    EXPECT_EQ(LastParentMessage.message, 0u);
}

TEST_F(HostWindow, PreviewDoesNotBlockSystemCommands)
{
    ASSERT_TRUE(OpenPreview());
    SendMessageA(saver, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpFor(20);
    EXPECT_FALSE(IsWindow(saver)) << "closed without a password";
}

TEST_F(HostWindow, OnceCloseIsAllowedNoFrameIsDrawn)
{
    ASSERT_TRUE(OpenFullScreen());
    KillTimer(saver, FireEffectState.timerId);
    PumpFor(20);
    SaverHostState.closeAllowed = 1;
    uint8_t* current = FireEffectState.field.current;
    EXPECT_EQ(SendMessageA(saver, WM_TIMER, FrameTimerId, 0), 0);
    EXPECT_EQ(FireEffectState.field.current, current);
    // Input no longer reaches the effect or asks for a close.
    SendMessageA(saver, WM_KEYDOWN, VK_SPACE, 0);
    PumpFor(20);
    EXPECT_TRUE(IsWindow(saver));
}

TEST_F(HostWindow, WhileRunningTimerFramesPassThrough)
{
    ASSERT_TRUE(OpenFullScreen());
    KillTimer(saver, FireEffectState.timerId);
    uint8_t* current = FireEffectState.field.current;
    SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
    EXPECT_NE(FireEffectState.field.current, current);
}

}  // namespace
