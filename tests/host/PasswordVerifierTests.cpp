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
    DWORD size;  // ~0: no value at all
    bool wanted;
};

const UsePasswordValue UsePasswordValues[] = {
    {"DwordOne", REG_DWORD, {1}, 4, true},
    {"DwordZero", REG_DWORD, {0}, 4, false},
    {"OneByteOne", REG_BINARY, {1}, 1, true},
    {"TwoBytesHighOne", REG_BINARY, {0, 1}, 2, true},
    {"TopByteOne", REG_BINARY, {0, 0, 0, 0x80}, 4, true},
    {"TwoBytesZero", REG_BINARY, {0, 0}, 2, false},
    {"FiveBytes", REG_BINARY, {1, 1, 1, 1, 1}, 5, false},
    {"Empty", REG_BINARY, {0}, 0, false},
    {"Missing", REG_NONE, {0}, ~0u, false},
};

class UsePassword : public InProcessTest, public ::testing::WithParamInterface<UsePasswordValue> {};

TEST_P(UsePassword, DecidesWhetherTheVerifierIsLoadedAndTheStateRaised)
{
    const UsePasswordValue& value = GetParam();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    if (value.size != ~0u)
        RegSetValueExA(key, "ScreenSaveUsePassword", 0, value.type, value.bytes, value.size);
    RegCloseKey(key);
    LoadPasswordVerifier();
    const HMODULE loaded = GetModuleHandleA("PASSWORD.CPL");
    EXPECT_EQ(loaded != nullptr, value.wanted);
    EXPECT_EQ(SaverHostState.passwordLibrary, loaded);
    EXPECT_EQ(
        reinterpret_cast<void*>(SaverHostState.verifyPassword),
        loaded ? reinterpret_cast<void*>(GetProcAddress(loaded, "VerifyScreenSavePwd")) : nullptr);
    EXPECT_EQ(SaverRunningState(), value.wanted ? TRUE : FALSE);
    LoadPasswordVerifier();                    // again: still one reference
    if (!value.wanted) SetSaverRunning(TRUE);  // unloading nothing leaves it alone
    UnloadPasswordVerifier();
    EXPECT_EQ(SaverHostState.verifyPassword, nullptr);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(SaverRunningState(), value.wanted ? FALSE : TRUE);
}

INSTANTIATE_TEST_SUITE_P(Values, UsePassword, ::testing::ValuesIn(UsePasswordValues), RowName());

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
    LRESULT Close()
    {
        return SendMessageA(window, WM_CLOSE, 0, 0);
    }
    VerifierDoubleEntries verifier = {};
};

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

// Inside the call input passes and another close is refused unasked.
void WINAPI ReenterWhileVerifying(HWND window, LONG call)
{
    if (call != 1) return;  // a saver that let the close through would recurse
    SetCursorPos(610, 410);
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 610);
    SendMessageA(window, WM_KEYDOWN, 'A', 1);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SetCursorPos(300, 10);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(TakePostedCloses(window), 0);
    SetCursor(Arrow());
    SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), nullptr);
    SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
    EXPECT_NE(GetCursor(), nullptr);
    Sleep(300);  // longer than the interval
}

// A refused close keeps the window; the next request within 200 ms of the
// call's end is dropped, a later one asks again.
TEST_F(PasswordVerifier, RefusedCloseKeepsTheWindowAndAsksAgainOnlyAfterTheInterval)
{
    ASSERT_NO_FATAL_FAILURE(Load({FALSE}));
    verifier.duringCall(ReenterWhileVerifying);
    for (int i = 0; i < 3; ++i) PostMessageA(window, WM_TIMER, 1, 0);
    EXPECT_EQ(Close(), 0);
    EXPECT_TRUE(IsWindow(window));
    ASSERT_EQ(verifier.callCount(), 1);
    HWND asked = nullptr;
    DWORD start = 0;
    EXPECT_TRUE(verifier.callAt(0, &asked, &start));
    EXPECT_EQ(asked, window);
    EXPECT_GE(SaverHostState.lastVerifyTick - start, 250u) << "from the call's end, not its start";
    EXPECT_EQ(SaverHostState.closeAllowed | SaverHostState.verifierActive, 0u);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 300);  // read again after the call
    EXPECT_EQ(SaverHostState.cursorOrigin.y, 10);
    MSG message;  // two pending frames are dropped before the verifier runs, no more
    EXPECT_TRUE(PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE));
    for (DWORD since : {150u, 250u}) {
        SaverHostState.lastVerifyTick = GetTickCount() - since;
        SetCursorPos(320, since);
        EXPECT_EQ(Close(), 0);
        EXPECT_EQ(SaverHostState.cursorOrigin.y, LONG(since)) << "read again even when dropped";
        EXPECT_EQ(verifier.callCount(), since < 200 ? 1 : 2) << since << " ms after the last";
    }
    EXPECT_TRUE(IsWindow(window));
}

}  // namespace
