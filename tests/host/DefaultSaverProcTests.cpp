// Input turning into close requests, on a window whose procedure is
// DefaultSaverProc, the end of the saver's chain. The cases look at what gets
// posted; only the preview case loads a verifier.
#include "host/DefaultSaverProc.h"
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"
#include "support/WindowHarness.h"

namespace {

class DefaultSaverProcTest : public InProcessTest {
protected:
    void SetUp() override
    {
        InProcessTest::SetUp();
        window = MakeChainEndWindow();
        ASSERT_NE(window, nullptr);
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
    void Send(UINT message, WPARAM wParam, LPARAM lParam = MAKELPARAM(5, 5))
    {
        SendMessageA(window, message, wParam, lParam);
    }
};

TEST_F(DefaultSaverProcTest, KeyAndButtonPressesPostOneCloseReleasesAndOthersNone)
{
    struct Input {
        UINT message;
        WPARAM wParam;
        int closes;
    };
    const Input inputs[] = {
        {WM_KEYDOWN, 'A', 1},         {WM_SYSKEYDOWN, 'A', 1},
        {WM_LBUTTONDOWN, MK_LBUTTON, 1}, {WM_RBUTTONDOWN, MK_RBUTTON, 1},
        {WM_MBUTTONDOWN, MK_MBUTTON, 1}, {WM_KEYUP, 'A', 0},
        {WM_SYSKEYUP, 'A', 0},        {WM_CHAR, 'a', 0},
        {WM_SYSCHAR, 'a', 0},         {WM_LBUTTONUP, 0, 0},
        {WM_RBUTTONUP, 0, 0},         {WM_MBUTTONUP, 0, 0},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, 0}, {WM_RBUTTONDBLCLK, MK_RBUTTON, 0},
        {WM_MBUTTONDBLCLK, MK_MBUTTON, 0}, {WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0},
    };
    for (const Input& input : inputs) {
        Send(input.message, input.wParam);
        EXPECT_EQ(TakePostedCloses(window), input.closes) << "message 0x" << std::hex << input.message;
        EXPECT_TRUE(IsWindow(window));  // posted, not handled on the spot
    }
}

TEST_F(DefaultSaverProcTest, MouseTravelMustExceedFourPixelsFromTheOriginAndAddsUp)
{
    // Each move from where the last close request left the origin.
    struct Move {
        int x, y;
        int closes;
    };
    const Move moves[] = {
        {503, 401, 0},  // 3 + 1
        {503, 402, 1},  // 3 + 2: the origin moves here
        {500, 400, 1},  // back and up counts the same
        {498, 398, 0},  // 2 + 2
        {498, 395, 1},  // 2 + 5
        {500, 395, 0}, {502, 395, 0}, {504, 395, 1},  // small moves add up
    };
    for (const Move& move : moves) {
        EXPECT_EQ(MoveTo(move.x, move.y), move.closes) << move.x << "," << move.y;
        if (move.closes) {
            EXPECT_EQ(SaverHostState.cursorOrigin.x, move.x);
            EXPECT_EQ(SaverHostState.cursorOrigin.y, move.y);
        }
    }
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 504);
}

TEST_F(DefaultSaverProcTest, OnlyThePointerCountsNotTheMessagesCoordinates)
{
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(900, 700));  // the pointer stays
    EXPECT_EQ(TakePostedCloses(window), 0);
    SetCursorPos(520, 400);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(500, 400));  // the message claims the origin
    EXPECT_EQ(TakePostedCloses(window), 1);
}

TEST_F(DefaultSaverProcTest, PointerStaysHiddenWhileRunning)
{
    const HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    SetCursor(arrow);
    EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              1);
    EXPECT_EQ(GetCursor(), nullptr);
    SetCursor(arrow);
    Send(WM_SHOWWINDOW, FALSE, 0);
    EXPECT_NE(GetCursor(), nullptr);
    Send(WM_SHOWWINDOW, TRUE, 0);
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
    Send(WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(MoveTo(540, 440), 0);
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 500);
    SetCursor(nullptr);
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), nullptr);  // the class's arrow, set by DefWindowProcA
    EXPECT_EQ(TakePostedCloses(window), 0);
}

TEST_F(DefaultSaverProcTest, PreviewInputNeverClosesAndCloseAsksNoPassword)
{
    // Even a loaded verifier is never asked in the preview form.
    SetUsePassword(true);
    LoadPasswordVerifier();
    VerifierDoubleEntries verifier = {};
    ASSERT_TRUE(FindVerifierDouble(&verifier));
    verifier.reset();
    SaverHostState.isPreview = 1;
    parent = MakeRecordingParent(152, 112);
    DestroyWindow(window);
    window = MakeChainEndWindow(parent);
    ASSERT_NE(window, nullptr);

    for (UINT press : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN})
        Send(press, 0);
    EXPECT_EQ(MoveTo(600, 500), 0);
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 500);
    EXPECT_EQ(SendMessageA(window, MsgVerifyPassword, 0, 0), 0);  // DefWindowProcA's answer

    Send(WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(verifier.callCount(), 0);
    EXPECT_EQ(SaverHostState.closeAllowed, 0u);
}

}  // namespace
