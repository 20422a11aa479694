// The host in this process: input at the end of the saver's chain, and the
// password libraries as the saver finds them by name.
#include <initializer_list>

#include "win32/DefaultSaverProc.h"
#include "win32/PasswordVerifier.h"
#include "win32/SaverHostState.h"
#include "support/InProcess.h"

namespace {

struct DefaultSaverProcTest : InProcessTest {
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
    SaverHostState.closeAllowed = 1;
    Send(WM_KEYDOWN, 'A');
    EXPECT_EQ(MoveTo(540, 440), 0);
    Send(WM_SETCURSOR, self, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), nullptr);  // the class's arrow
}

TEST_F(DefaultSaverProcTest, PreviewInputNeverClosesAndCloseAsksNoPassword)
{
    SetUsePassword(true);
    LoadPasswordVerifier();  // even a loaded verifier is never asked
    VerifierDoubleRecord* const verifier = TakeVerifierDouble();
    ASSERT_TRUE(verifier);
    SaverHostState.isPreview = 1;
    DestroyWindow(window);
    ASSERT_TRUE(window = MakeChainEndWindow(parent = MakeParentWindow(152, 112)));
    for (UINT press : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN})
        Send(press);
    EXPECT_EQ(MoveTo(600, 500), 0);
    Send(WM_CLOSE);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(verifier->callCount, 0);
}

// With mpr=n,b Wine takes a file named MPR.DLL: a double loaded here by path
// from entryless\ is what the saver's LoadLibraryA finds by name. The saver
// must keep no reference of its own.
using PlatformLibraries = DefaultSaverProcTest;

TEST_F(PlatformLibraries, LibrariesWithoutTheirEntryMeanNoChangeAndNoPassword)
{
    for (const char* name : {"MPR.DLL", "PASSWORD.CPL"}) {
        const std::string path = ProgramFolder() + "entryless\\" + name;
        HMODULE held = LoadLibraryA(path.c_str());
        char loaded[MAX_PATH] = "";
        GetModuleFileNameA(held, loaded, MAX_PATH);
        ASSERT_EQ(lstrcmpiA(loaded, path.c_str()), 0) << "not the double " << path;
        if (name[0] == 'M') {
            ChangeSaverPassword(window);
        } else {
            SetUsePassword(true);
            LoadPasswordVerifier();
            EXPECT_EQ(SaverHostState.passwordLibrary, nullptr);
            EXPECT_EQ(SaverRunningState(), FALSE);
        }
        FreeLibrary(held);
        EXPECT_EQ(GetModuleHandleA(name), nullptr) << name << " is still loaded";
    }
    Send(WM_LBUTTONDOWN, MK_LBUTTON);  // no password: the first close closes
    PumpUntil([this] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
}

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
    {"FiveBytes", REG_BINARY, {1, 1, 1, 1, 1}, 5, false},
    {"Empty", REG_BINARY, {0}, 0, false},
    {"Missing", REG_NONE, {0}, ~0u, false},
};

class UsePassword : public InProcessTest, public ::testing::WithParamInterface<UsePasswordValue> {};

TEST_P(UsePassword, DecidesWhetherTheVerifierIsLoadedAndTheStateRaised)
{
    const UsePasswordValue& value = GetParam();
    if (value.size != ~0u)
        RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword",
                        value.type, value.bytes, value.size);
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
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(SaverRunningState(), value.wanted ? FALSE : TRUE);
}

INSTANTIATE_TEST_SUITE_P(Values, UsePassword, ::testing::ValuesIn(UsePasswordValues), RowName());

struct PasswordVerifier : InProcessTest {
    // Loads the verifier as a full-screen run does, scripts it, makes the window.
    void Load(std::initializer_list<BOOL> answers)
    {
        SetUsePassword(true);
        LoadPasswordVerifier();
        ASSERT_TRUE(verifier = TakeVerifierDouble());
        for (BOOL answer : answers) verifier->script[verifier->scriptCount++] = answer;
        ASSERT_TRUE(window = MakeChainEndWindow());
    }
    // A key press as the window gets it, and the close it posts.
    void Press()
    {
        SendMessageA(window, WM_KEYDOWN, 'A', 1);
        Pump(0);
    }
    VerifierDoubleRecord* verifier = nullptr;
};

TEST_F(PasswordVerifier, AcceptedCloseDestroysTheWindowAndTheVerdictAnswersTheMessage)
{
    ASSERT_NO_FATAL_FAILURE(Load({FALSE, TRUE}));
    EXPECT_EQ(SendMessageA(window, MsgVerifyPassword, 0, 0), 0);
    EXPECT_NE(SendMessageA(window, MsgVerifyPassword, 0, 0), 0);
    Press();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(verifier->callCount, 3);
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
    Sleep(300);  // longer than the pause after a run
}

// A refused close keeps the window; a request within 200 ms of the run's end
// is dropped, a later one asks again.
TEST_F(PasswordVerifier, RefusedCloseKeepsTheWindowAndAsksAgainOnlyAfterThePause)
{
    ASSERT_NO_FATAL_FAILURE(Load({FALSE}));
    verifier->duringCall = ReenterWhileVerifying;
    for (int i = 0; i < 3; ++i) PostMessageA(window, WM_TIMER, 1, 0);
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(SaverHostState.closeAllowed | SaverHostState.verifierActive, 0u);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(SaverHostState.cursorOrigin.x, 300);  // read again after the call
    EXPECT_EQ(SaverHostState.cursorOrigin.y, 10);
    MSG message;  // two pending frames are dropped before the verifier runs, no more
    EXPECT_TRUE(PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE));
    Press();  // at once: within the pause from the end of the long run
    EXPECT_EQ(verifier->callCount, 1);
    Sleep(250);
    Press();
    EXPECT_EQ(verifier->callCount, 2);
    for (DWORD since : {150u, 250u}) {  // the pause's length, from both sides
        SaverHostState.lastVerifyTick = GetTickCount() - since;
        SetCursorPos(320, since);
        Press();
        EXPECT_EQ(SaverHostState.cursorOrigin.y, LONG(since)) << "read again even when dropped";
        EXPECT_EQ(verifier->callCount, since < 200 ? 2 : 3) << since << " ms after the last";
    }
    EXPECT_TRUE(IsWindow(window));
}

}  // namespace
