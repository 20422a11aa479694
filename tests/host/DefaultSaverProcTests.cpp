// Input turning into close requests at the end of the saver's chain
// (DefaultSaverProc); the cases look at what gets posted.
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
        ASSERT_TRUE(window = MakeChainEndWindow());
        SaverHostState.cursorOrigin = {500, 400};
    }
    // Moves the real pointer; the message's own coordinates say something else.
    int MoveTo(int x, int y)
    {
        SetCursorPos(x, y);
        Send(WM_MOUSEMOVE, 0, MAKELPARAM(7, 7));
        return TakePostedCloses(window);
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageA(window, message, wParam, lParam);
    }
};

TEST_F(DefaultSaverProcTest, KeyAndButtonPressesPostOneCloseOtherInputNone)
{
    const std::pair<UINT, int> inputs[] = {
        {WM_KEYDOWN, 1},       {WM_SYSKEYDOWN, 1},    {WM_LBUTTONDOWN, 1},   {WM_RBUTTONDOWN, 1},
        {WM_MBUTTONDOWN, 1},   {WM_KEYUP, 0},         {WM_SYSKEYUP, 0},      {WM_CHAR, 0},
        {WM_SYSCHAR, 0},       {WM_LBUTTONUP, 0},     {WM_RBUTTONUP, 0},     {WM_MBUTTONUP, 0},
        {WM_LBUTTONDBLCLK, 0}, {WM_RBUTTONDBLCLK, 0}, {WM_MBUTTONDBLCLK, 0}, {WM_XBUTTONDOWN, 0},
        {WM_MOUSEWHEEL, 0}};
    for (auto [message, closes] : inputs) {
        Send(message, 'A');
        EXPECT_EQ(TakePostedCloses(window), closes) << "message 0x" << std::hex << message;
    }
}

TEST_F(DefaultSaverProcTest, OnlyPointerTravelBeyondFourPixelsFromTheOriginCounts)
{
    const struct {
        int x, y, closes;
    } moves[] = {{503, 401, 0}, {503, 402, 1},  // 3 + 1, 3 + 2: the origin moves there
                 {500, 400, 1}, {498, 398, 0}, {498, 395, 1},   // back and up count the same
                 {500, 395, 0}, {502, 395, 0}, {504, 395, 1}};  // small moves add up
    int originX = 500;
    for (const auto& move : moves) {
        EXPECT_EQ(MoveTo(move.x, move.y), move.closes) << move.x << "," << move.y;
        originX = move.closes ? move.x : originX;
        EXPECT_EQ(SaverHostState.cursorOrigin.x, originX) << move.x << "," << move.y;
    }
    EXPECT_EQ(SaverHostState.cursorOrigin.y, 395);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(900, 700));  // the message alone claims a long way
    EXPECT_EQ(TakePostedCloses(window), 0);
}

// Once the close is allowed, input and the pointer are left to the default.
TEST_F(DefaultSaverProcTest, PointerHiddenUntilTheCloseIsAllowedVerifyWithoutVerifierSaysYes)
{
    const WPARAM self = reinterpret_cast<WPARAM>(window);
    SetCursor(Arrow());
    EXPECT_EQ(Send(WM_SETCURSOR, self, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
    EXPECT_EQ(GetCursor(), nullptr);
    SetCursor(Arrow());
    Send(WM_SHOWWINDOW, FALSE);
    EXPECT_NE(GetCursor(), nullptr);
    Send(WM_SHOWWINDOW, TRUE);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(Send(MsgVerifyPassword), 1);
    EXPECT_EQ(SaverHostState.closeAllowed, 0u);
    SaverHostState.closeAllowed = 1;
    Send(WM_KEYDOWN, 'A');
    EXPECT_EQ(MoveTo(540, 440), 0);
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 500);
    Send(WM_SETCURSOR, self, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), nullptr);  // the class's arrow
}

TEST_F(DefaultSaverProcTest, PreviewInputNeverClosesAndCloseAsksNoPassword)
{
    SetUsePassword(true);
    LoadPasswordVerifier();  // even a loaded verifier is never asked
    VerifierDoubleEntries verifier = {};
    ASSERT_TRUE(FindVerifierDouble(verifier));
    verifier.reset();
    SaverHostState.isPreview = 1;
    DestroyWindow(window);
    ASSERT_TRUE(window = MakeChainEndWindow(parent = MakeRecordingParent(152, 112)));
    for (UINT press : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN})
        Send(press);
    EXPECT_EQ(MoveTo(600, 500), 0);
    EXPECT_EQ(Send(MsgVerifyPassword), 0);  // DefWindowProcA's answer
    Send(WM_CLOSE);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(verifier.callCount(), 0);
}

}  // namespace
