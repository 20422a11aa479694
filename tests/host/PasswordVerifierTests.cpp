// The verifier as the saver loads it: the double "PASSWORD.CPL" lies beside
// this program, so the product's own LoadLibraryA finds it.
#include <vector>

#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"
#include "support/WindowHarness.h"

namespace {

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
    {"DwordOne", REG_DWORD, {1}, 4, true},         {"DwordZero", REG_DWORD, {0}, 4, false},
    {"OneByteOne", REG_BINARY, {1}, 1, true},      {"TwoBytesHighOne", REG_BINARY, {0, 1}, 2, true},
    {"TopByteOne", REG_BINARY, {0, 0, 0, 0x80}, 4, true}, {"TwoBytesZero", REG_BINARY, {0, 0}, 2, false},
    {"FiveBytes", REG_BINARY, {1, 1, 1, 1, 1}, 5, false}, {"Empty", REG_BINARY, {0}, 0, false},
};

class UsePassword : public InProcessTest, public ::testing::WithParamInterface<UsePasswordValue> {};

TEST_P(UsePassword, DecidesWhetherTheVerifierIsLoadedAndTheStateRaised)
{
    const UsePasswordValue& value = GetParam();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    RegSetValueExA(key, "ScreenSaveUsePassword", 0, value.type, value.bytes, value.size);
    RegCloseKey(key);
    LoadPasswordVerifier();
    const HMODULE loaded = GetModuleHandleA("PASSWORD.CPL");
    EXPECT_EQ(loaded != nullptr, value.wanted);
    EXPECT_EQ(SaverHostState.passwordLibrary, loaded);
    EXPECT_EQ(reinterpret_cast<void*>(SaverHostState.verifyPassword),
              loaded ? reinterpret_cast<void*>(GetProcAddress(loaded, "VerifyScreenSavePwd")) : nullptr);
    EXPECT_EQ(SaverRunningState(), value.wanted ? TRUE : FALSE);
    LoadPasswordVerifier();  // again: still one reference
    UnloadPasswordVerifier();
    EXPECT_EQ(SaverHostState.verifyPassword, nullptr);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);
}

INSTANTIATE_TEST_SUITE_P(Values, UsePassword, ::testing::ValuesIn(UsePasswordValues),
                         RowName());

class PasswordVerifier : public InProcessTest {
protected:
    // Loads the verifier as a full-screen run does, scripts it, makes the window.
    void Load(std::vector<BOOL> answers)
    {
        SetUsePassword(true);
        LoadPasswordVerifier();
        ASSERT_TRUE(FindVerifierDouble(verifier));
        verifier.reset();
        verifier.script(answers.data(), static_cast<LONG>(answers.size()));
        ASSERT_TRUE(window = MakeChainEndWindow());
    }
    DWORD CallTick(LONG index)  // when the call began; it asked about window
    {
        HWND asked = nullptr;
        DWORD tick = 0;
        EXPECT_TRUE(verifier.callAt(index, &asked, &tick));
        EXPECT_EQ(asked, window);
        return tick;
    }
    LRESULT Close() { return SendMessageA(window, WM_CLOSE, 0, 0); }
    VerifierDoubleEntries verifier = {};
};

TEST_F(PasswordVerifier, NoValueLoadsNothingAndUnloadingNothingLeavesTheStateAlone)
{
    LoadPasswordVerifier();
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    ASSERT_TRUE(SetSaverRunning(TRUE));
    UnloadPasswordVerifier();
    EXPECT_EQ(SaverRunningState(), TRUE);
}

TEST_F(PasswordVerifier, AcceptedCloseDestroysTheWindowAndTheVerdictAnswersTheMessage)
{
    ASSERT_NO_FATAL_FAILURE(Load({FALSE, TRUE}));
    EXPECT_EQ(SendMessageA(window, MsgVerifyPassword, 0, 0), 0);
    EXPECT_NE(SendMessageA(window, MsgVerifyPassword, 0, 0), 0);
    SendMessageA(window, WM_KEYDOWN, 'A', 1);
    PumpUntil([this] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(verifier.callCount(), 3);
    EXPECT_EQ(SaverHostState.closeAllowed, 1u);
}

TEST_F(PasswordVerifier, RefusedCloseKeepsTheWindowHidesThePointerAndRereadsTheOrigin)
{
    ASSERT_NO_FATAL_FAILURE(Load({FALSE}));
    SetCursorPos(300, 200);
    SetCursor(Arrow());
    for (int i = 0; i < 3; ++i) PostMessageA(window, WM_TIMER, 1, 0);
    EXPECT_EQ(Close(), 0);
    EXPECT_TRUE(IsWindow(window));
    ASSERT_EQ(verifier.callCount(), 1);
    // Taken once the verifier had returned: not before the call began.
    EXPECT_LT(SaverHostState.lastVerifyTick - CallTick(0), 0x80000000u);
    EXPECT_EQ(SaverHostState.closeAllowed | SaverHostState.verifierActive, 0u);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 300);
    EXPECT_EQ(SaverHostState.cursorOrigin.y, 200);
    MSG message;  // two pending frames are dropped before the verifier runs, no more
    EXPECT_TRUE(PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE));
}

void WINAPI AnswerSlowlyTheFirstTime(HWND, LONG call)
{
    if (call == 1) Sleep(300);  // longer than the interval
}

TEST_F(PasswordVerifier, RequestsWithin200MsOfTheLastRunsEndAreDroppedLaterOnesAskAgain)
{
    ASSERT_NO_FATAL_FAILURE(Load({FALSE}));
    verifier.duringCall(AnswerSlowlyTheFirstTime);
    ASSERT_EQ(Close(), 0);
    EXPECT_GE(SaverHostState.lastVerifyTick - CallTick(0), 250u) << "from the end, not the start";
    // Judged only when the clock shows the request came 150 to 200 ms after
    // the end; a stalled machine gets another try.
    bool judged = false;
    for (int attempt = 0; attempt < 5 && !judged; ++attempt) {
        const DWORD lastEnd = SaverHostState.lastVerifyTick;
        const LONG calls = verifier.callCount();
        while (GetTickCount() - lastEnd < 150) Sleep(5);
        SetCursorPos(320 + attempt, 240);
        EXPECT_EQ(Close(), 0);
        EXPECT_EQ(SaverHostState.cursorOrigin.x, 320 + attempt);
        judged = GetTickCount() - lastEnd < 200;
        if (judged) {
            EXPECT_EQ(verifier.callCount(), calls) << "asked again within the interval";
        }
    }
    EXPECT_TRUE(judged);
    const DWORD lastEnd = SaverHostState.lastVerifyTick;
    const LONG calls = verifier.callCount();
    while (GetTickCount() - lastEnd < 210) Sleep(5);
    Close();
    EXPECT_EQ(verifier.callCount(), calls + 1);
    EXPECT_TRUE(IsWindow(window));
}

// What the saver does while the verifier runs, seen from inside it.
struct {
    LRESULT close;
    LONG originX;
    int closesPosted;
    HCURSOR cursorAfterSetCursor, cursorAfterShow;
} inside;

void WINAPI ReenterWhileVerifying(HWND window, LONG call)
{
    if (call != 1) return;  // a saver that let the close through would recurse
    SetCursorPos(610, 410);
    inside.close = SendMessageA(window, WM_CLOSE, 0, 0);
    inside.originX = SaverHostState.cursorOrigin.x;
    SendMessageA(window, WM_KEYDOWN, 'A', 1);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SetCursorPos(10, 10);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    inside.closesPosted = TakePostedCloses(window);
    SetCursor(Arrow());
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    inside.cursorAfterSetCursor = GetCursor();
    SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
    inside.cursorAfterShow = GetCursor();
}

TEST_F(PasswordVerifier, WhileTheVerifierRunsInputPassesAndAnotherCloseIsRefusedUnasked)
{
    ASSERT_NO_FATAL_FAILURE(Load({FALSE}));
    inside = {};
    verifier.duringCall(ReenterWhileVerifying);
    EXPECT_EQ(Close(), 0);
    EXPECT_EQ(verifier.callCount(), 1);
    EXPECT_EQ(inside.close, 0);
    EXPECT_EQ(inside.originX, 610);
    EXPECT_EQ(inside.closesPosted, 0);
    EXPECT_NE(inside.cursorAfterSetCursor, nullptr);
    EXPECT_NE(inside.cursorAfterShow, nullptr);
    EXPECT_EQ(SaverHostState.verifierActive, 0u);
}

}  // namespace
