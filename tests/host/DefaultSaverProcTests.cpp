// Input turning into close requests, on a real window whose procedure ends in
// DefaultSaverProc. The cases look at what gets posted; only the preview case
// loads a verifier.
#include "HostTestSupport.h"
#include "host/DefaultSaverProc.h"
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"

namespace {

class DefaultSaverProcTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        window = MakeSaverTestWindow();
        ASSERT_NE(window, nullptr);
        SetCursorPos(500, 400);
        SaverHostState.cursorOrigin = {500, 400};
    }

    // Moves the real pointer, then tells the window with a message whose own
    // coordinates point somewhere else entirely.
    int MoveTo(int x, int y)
    {
        SetCursorPos(x, y);
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(7, 7));
        return TakePostedCloses(window);
    }
};

struct InputMessage {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

TEST_F(DefaultSaverProcTest, KeyAndButtonPressesPostOneClose)
{
    const InputMessage presses[] = {
        {"key", WM_KEYDOWN, 'A', 1},
        {"system key", WM_SYSKEYDOWN, 'A', 1 | (1 << 29)},
        {"left button", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)},
        {"right button", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5)},
        {"middle button", WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(5, 5)},
    };
    for (const InputMessage& press : presses) {
        SCOPED_TRACE(press.name);
        SendMessageA(window, press.message, press.wParam, press.lParam);
        EXPECT_EQ(TakePostedCloses(window), 1);
        EXPECT_TRUE(IsWindow(window));  // posted, not handled on the spot
    }
}

TEST_F(DefaultSaverProcTest, ReleasesCharactersDoubleClicksAndOtherButtonsPostNothing)
{
    const InputMessage others[] = {
        {"key release", WM_KEYUP, 'A', static_cast<LPARAM>(1 | (3u << 30))},
        {"system key release", WM_SYSKEYUP, 'A', static_cast<LPARAM>(1 | (1 << 29) | (3u << 30))},
        {"character", WM_CHAR, 'a', 1},
        {"system character", WM_SYSCHAR, 'a', 1 | (1 << 29)},
        {"left release", WM_LBUTTONUP, 0, MAKELPARAM(5, 5)},
        {"right release", WM_RBUTTONUP, 0, MAKELPARAM(5, 5)},
        {"middle release", WM_MBUTTONUP, 0, MAKELPARAM(5, 5)},
        {"left double-click", WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5)},
        {"right double-click", WM_RBUTTONDBLCLK, MK_RBUTTON, MAKELPARAM(5, 5)},
        {"middle double-click", WM_MBUTTONDBLCLK, MK_MBUTTON, MAKELPARAM(5, 5)},
        {"extra button", WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), MAKELPARAM(5, 5)},
        {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(500, 400)},
    };
    for (const InputMessage& other : others) {
        SCOPED_TRACE(other.name);
        SendMessageA(window, other.message, other.wParam, other.lParam);
        EXPECT_EQ(TakePostedCloses(window), 0);
    }
}

TEST_F(DefaultSaverProcTest, MouseTravelMustExceedFourPixelsFromTheOrigin)
{
    EXPECT_EQ(MoveTo(503, 401), 0);  // 3 + 1
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 500);
    EXPECT_EQ(MoveTo(503, 402), 1);  // 3 + 2
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 503);
    EXPECT_EQ(SaverHostState.cursorOrigin.y, 402);

    // Back and up counts the same as forward and down.
    EXPECT_EQ(MoveTo(500, 400), 1);  // 3 + 2 from (503, 402)
    EXPECT_EQ(MoveTo(498, 398), 0);  // 2 + 2
    EXPECT_EQ(MoveTo(498, 395), 1);  // 2 + 5
}

TEST_F(DefaultSaverProcTest, SmallMovesAddUpUntilTheThirdOfTwoPixels)
{
    EXPECT_EQ(MoveTo(502, 400), 0);
    EXPECT_EQ(MoveTo(504, 400), 0);
    EXPECT_EQ(MoveTo(506, 400), 1);
}

TEST_F(DefaultSaverProcTest, OnlyThePointerCountsNotTheMessagesCoordinates)
{
    // The pointer stays; the message claims a long way.
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(900, 700));
    EXPECT_EQ(TakePostedCloses(window), 0);
    // The pointer travels; the message claims the origin itself.
    SetCursorPos(520, 400);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(500, 400));
    EXPECT_EQ(TakePostedCloses(window), 1);
}

TEST_F(DefaultSaverProcTest, PointerStaysHiddenWhileRunning)
{
    SetCursor(ArrowCursor());
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
    EXPECT_EQ(GetCursor(), nullptr);

    SetCursor(ArrowCursor());
    SendMessageA(window, WM_SHOWWINDOW, FALSE, 0);
    EXPECT_NE(GetCursor(), nullptr);
    SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
    EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(DefaultSaverProcTest, VerifyMessageWithoutAVerifierSaysYes)
{
    EXPECT_EQ(SendMessageA(window, MsgVerifyPassword, 0, 0), 1);
    EXPECT_EQ(SaverHostState.closeAllowed, 0u);
}

TEST_F(DefaultSaverProcTest, OnceTheCloseIsAllowedInputIsLeftToTheDefault)
{
    SaverHostState.closeAllowed = 1;
    SendMessageA(window, WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(MoveTo(540, 440), 0);
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 500);
    SetCursor(nullptr);
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), nullptr);  // the class's arrow, set by DefWindowProcA
    EXPECT_EQ(TakePostedCloses(window), 0);
}

class DefaultSaverProcPreview : public HostTest {
protected:
    void TearDown() override
    {
        HostTest::TearDown();
        if (parent)
            DestroyWindow(parent);
    }
    HWND parent = nullptr;
};

TEST_F(DefaultSaverProcPreview, InputNeverClosesAndCloseAsksNoPassword)
{
    // Even a loaded verifier is never asked in the preview form.
    SetUsePasswordDword(1);
    LoadPasswordVerifier();
    VerifierDoubleEntries verifier = {};
    ASSERT_TRUE(FindVerifierDouble(&verifier));
    verifier.reset();

    SaverHostState.isPreview = 1;
    parent = CreateWindowExA(0, "STATIC", "Preview parent", WS_POPUP, 0, 0, 152, 112, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    window = MakeSaverTestWindow(parent);
    ASSERT_NE(window, nullptr);
    SaverHostState.cursorOrigin = {500, 400};

    SendMessageA(window, WM_KEYDOWN, 'A', 1);
    SendMessageA(window, WM_SYSKEYDOWN, 'A', 1 | (1 << 29));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    SendMessageA(window, WM_MBUTTONDOWN, MK_MBUTTON, 0);
    SetCursorPos(600, 500);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(TakePostedCloses(window), 0);
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 500);
    EXPECT_EQ(SendMessageA(window, MsgVerifyPassword, 0, 0), 0);  // DefWindowProcA's answer

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(verifier.callCount(), 0);
    EXPECT_EQ(SaverHostState.closeAllowed, 0u);
}

}  // namespace
