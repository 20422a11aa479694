// The verifier as the saver loads it: the double "PASSWORD.CPL" lies beside
// this program, so the product's own LoadLibraryA finds it.
#include <initializer_list>
#include <vector>

#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"
#include "support/WindowHarness.h"

namespace {

class PasswordVerifier : public InProcessTest {
protected:
    // Loads the verifier the way a full-screen run does and makes the window.
    void LoadDoubleAndWindow(std::initializer_list<BOOL> answers)
    {
        SetUsePassword(true);
        LoadPasswordVerifier();
        ASSERT_TRUE(FindVerifierDouble(&verifier));
        verifier.reset();
        const std::vector<BOOL> script(answers);
        verifier.script(script.data(), static_cast<LONG>(script.size()));
        window = MakeChainEndWindow();
        ASSERT_NE(window, nullptr);
    }
    DWORD CallTick(LONG index)
    {
        HWND asked = nullptr;
        DWORD tick = 0;
        EXPECT_TRUE(verifier.callAt(index, &asked, &tick));
        EXPECT_EQ(asked, window);
        return tick;
    }
    VerifierDoubleEntries verifier = {};
};

// The first four bytes count, little-endian, whatever the type; missing high
// bytes are 0; a value longer than four bytes cannot be read and means none.
struct UsePasswordValue {
    const char* name;
    DWORD type;
    BYTE bytes[8];
    DWORD size;
    bool wanted;
};

const UsePasswordValue UsePasswordValues[] = {
    {"DwordOne", REG_DWORD, {1}, 4, true},
    {"DwordZero", REG_DWORD, {0}, 4, false},
    {"OneByteOne", REG_BINARY, {1}, 1, true},
    {"TwoBytesHighOneSet", REG_BINARY, {0, 1}, 2, true},
    {"FourBytesTopOneSet", REG_BINARY, {0, 0, 0, 0x80}, 4, true},
    {"TwoBytesZero", REG_BINARY, {0, 0}, 2, false},
    {"FiveBytes", REG_BINARY, {1, 1, 1, 1, 1}, 5, false},
    {"Empty", REG_BINARY, {0}, 0, false},
};

class UsePassword : public PasswordVerifier, public ::testing::WithParamInterface<UsePasswordValue> {};

TEST_P(UsePassword, DecidesWhetherTheVerifierIsLoadedAndTheStateRaised)
{
    const UsePasswordValue& value = GetParam();
    SetUsePasswordBytes(value.type, value.bytes, value.size);
    LoadPasswordVerifier();
    const HMODULE loaded = GetModuleHandleA("PASSWORD.CPL");
    EXPECT_EQ(loaded != nullptr, value.wanted);
    EXPECT_EQ(SaverHostState.passwordLibrary, loaded);
    EXPECT_EQ(reinterpret_cast<void*>(SaverHostState.verifyPassword),
              loaded ? reinterpret_cast<void*>(GetProcAddress(loaded, "VerifyScreenSavePwd")) : nullptr);
    EXPECT_EQ(SaverRunningState(), value.wanted ? TRUE : FALSE);

    LoadPasswordVerifier();  // again: still one reference
    UnloadPasswordVerifier();
    EXPECT_EQ(SaverHostState.passwordLibrary, nullptr);
    EXPECT_EQ(SaverHostState.verifyPassword, nullptr);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);
}

INSTANTIATE_TEST_SUITE_P(Values, UsePassword, ::testing::ValuesIn(UsePasswordValues),
                         RowName<UsePasswordValue>);

TEST_F(PasswordVerifier, NoValueLoadsNothingAndUnloadingNothingLeavesTheStateAlone)
{
    LoadPasswordVerifier();
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    ASSERT_TRUE(SetSaverRunning(TRUE));
    UnloadPasswordVerifier();
    EXPECT_EQ(SaverRunningState(), TRUE);
}

TEST_F(PasswordVerifier, AcceptedCloseDestroysTheWindow)
{
    ASSERT_NO_FATAL_FAILURE(LoadDoubleAndWindow({TRUE}));
    SendMessageA(window, WM_KEYDOWN, 'A', 1);
    PumpUntil([this] { return !IsWindow(window); }, Patience);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(verifier.callCount(), 1);
    EXPECT_EQ(SaverHostState.closeAllowed, 1u);
    EXPECT_EQ(SaverHostState.verifierActive, 0u);
}

TEST_F(PasswordVerifier, RefusedCloseKeepsTheWindowHidesThePointerAndRereadsTheOrigin)
{
    ASSERT_NO_FATAL_FAILURE(LoadDoubleAndWindow({FALSE}));
    SaverHostState.cursorOrigin = {1, 1};
    SetCursorPos(300, 200);
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    for (int i = 0; i < 3; ++i) PostMessageA(window, WM_TIMER, 1, 0);

    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);

    EXPECT_TRUE(IsWindow(window));
    ASSERT_EQ(verifier.callCount(), 1);
    const DWORD askedAt = CallTick(0);
    EXPECT_EQ(SaverHostState.closeAllowed, 0u);
    EXPECT_EQ(SaverHostState.verifierActive, 0u);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 300);
    EXPECT_EQ(SaverHostState.cursorOrigin.y, 200);
    // Taken once the verifier had returned: not before the call began.
    EXPECT_LT(SaverHostState.lastVerifyTick - askedAt, 0x80000000u);

    // Two pending frames are dropped before the verifier runs, no more.
    MSG message;
    int timersLeft = 0;
    while (PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE)) ++timersLeft;
    EXPECT_EQ(timersLeft, 1);
}

// The user takes longer than the interval to answer the first time.
void WINAPI AnswerSlowlyTheFirstTime(HWND, LONG call)
{
    if (call == 1) Sleep(300);
}

TEST_F(PasswordVerifier, RequestsWithinTheIntervalAreDroppedLaterOnesAskAgain)
{
    ASSERT_NO_FATAL_FAILURE(LoadDoubleAndWindow({FALSE}));
    verifier.duringCall(AnswerSlowlyTheFirstTime);
    ASSERT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    ASSERT_EQ(verifier.callCount(), 1);
    // The interval runs from the end of that run, not from its start.
    EXPECT_GE(SaverHostState.lastVerifyTick - CallTick(0), 250u);

    // A request right after a refusal. Only judged when the clock shows it
    // really came within the interval; a stalled machine gets another try.
    bool judged = false;
    for (int attempt = 0; attempt < 5 && !judged; ++attempt) {
        const LONG callsBefore = verifier.callCount();
        const DWORD lastEnd = SaverHostState.lastVerifyTick;
        SetCursorPos(320 + attempt, 240);
        EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
        EXPECT_TRUE(IsWindow(window));
        EXPECT_EQ(SaverHostState.cursorOrigin.x, 320 + attempt);
        EXPECT_EQ(SaverHostState.cursorOrigin.y, 240);
        if (GetTickCount() - lastEnd < VerifyInterval) {
            EXPECT_EQ(verifier.callCount(), callsBefore) << "asked again within the interval";
            judged = true;
        }
    }
    EXPECT_TRUE(judged);

    // Well past the interval the verifier is asked again, and this time says yes.
    const LONG callsBefore = verifier.callCount();
    const DWORD lastEnd = SaverHostState.lastVerifyTick;
    while (GetTickCount() - lastEnd < VerifyInterval + 150) Sleep(50);
    const BOOL yes = TRUE;
    verifier.script(&yes, 1);
    SendMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(verifier.callCount(), callsBefore + 1);
    EXPECT_GE(CallTick(callsBefore) - lastEnd, VerifyInterval);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(SaverHostState.closeAllowed, 1u);
}

TEST_F(PasswordVerifier, VerifyMessageAnswersWithTheVerdict)
{
    ASSERT_NO_FATAL_FAILURE(LoadDoubleAndWindow({FALSE, TRUE}));
    EXPECT_EQ(SendMessageA(window, MsgVerifyPassword, 0, 0), 0);
    EXPECT_NE(SendMessageA(window, MsgVerifyPassword, 0, 0), 0);
    EXPECT_EQ(verifier.callCount(), 2);
    EXPECT_TRUE(IsWindow(window));
}

// What happens to the saver while the verifier runs, seen from inside it.
struct InsideVerifier {
    LRESULT closeResult;
    POINT originAfterClose;
    int closesPosted;
    HCURSOR cursorAfterSetCursor;
    HCURSOR cursorAfterShow;
} inside;

void WINAPI ReenterWhileVerifying(HWND window, LONG call)
{
    // Once: a saver that let the close through would otherwise recurse forever.
    if (call != 1) return;
    SetCursorPos(610, 410);
    inside.closeResult = SendMessageA(window, WM_CLOSE, 0, 0);
    inside.originAfterClose = SaverHostState.cursorOrigin;

    SendMessageA(window, WM_KEYDOWN, 'A', 1);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SetCursorPos(10, 10);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    inside.closesPosted = TakePostedCloses(window);

    const HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    SetCursor(arrow);
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    inside.cursorAfterSetCursor = GetCursor();
    SetCursor(arrow);
    SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
    inside.cursorAfterShow = GetCursor();
}

TEST_F(PasswordVerifier, WhileTheVerifierRunsInputPassesAndAnotherCloseIsRefusedUnasked)
{
    ASSERT_NO_FATAL_FAILURE(LoadDoubleAndWindow({FALSE}));
    inside = {};
    verifier.duringCall(ReenterWhileVerifying);
    SaverHostState.cursorOrigin = {10, 10};

    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);

    EXPECT_EQ(verifier.callCount(), 1);
    EXPECT_EQ(inside.closeResult, 0);
    EXPECT_EQ(inside.originAfterClose.x, 610);
    EXPECT_EQ(inside.originAfterClose.y, 410);
    EXPECT_EQ(inside.closesPosted, 0);
    EXPECT_NE(inside.cursorAfterSetCursor, nullptr);
    EXPECT_NE(inside.cursorAfterShow, nullptr);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(SaverHostState.verifierActive, 0u);
}

}  // namespace
