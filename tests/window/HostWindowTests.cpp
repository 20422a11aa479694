// The saver window as the host runs it (RunSaverWindow): its messages in a
// full-screen run and a preview, and runs that make no window.
#include "fire/win32/FireWindowProc.h"
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"
#include "host/SaverWindow.h"
#include "support/WindowHarness.h"

namespace {

class HostWindow : public InProcessTest {
  protected:
    void SetUp() override
    {
        InProcessTest::SetUp();
        SetEnvironmentVariableA("EMBRIX_PROBE_LOG", log.c_str());  // the verifier double's
    }
    void TearDown() override
    {
        InProcessTest::TearDown();
        SetEnvironmentVariableA("EMBRIX_PROBE_LOG", nullptr);
        DeleteFileA(log.c_str());
        UnregisterClassA(SaverClassName, SaverHostState.instance);
    }
    const std::string pid = std::to_string(GetCurrentProcessId());
    const std::string log = ProgramFolder() + "probe-" + pid + ".log";
};

std::pair<HWND, HIMC> restored;
HIMC WINAPI RecordAssociation(HWND window, HIMC context)
{
    restored = {window, context};
    return nullptr;
}

void ExpectTitle(HWND saver, const char* title)
{
    EXPECT_EQ(SendMessageA(saver, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
    char text[64] = {};
    GetWindowTextA(saver, text, sizeof text);
    EXPECT_STREQ(text, title);
}

// Creation takes the pointer's origin and the input context, destruction
// gives it back; any timer draws a frame until the close is allowed, paint
// none; task switches and saver commands are blocked, a close is not.
TEST_F(HostWindow, FullScreen)
{
    SetCursorPos(321, 234);
    HWND made = nullptr;
    const HIMC saved = reinterpret_cast<HIMC>(0x1234);
    EXPECT_EQ(RunSaverWith(
                  nullptr,
                  [&](HWND saver) {
                      made = saver;
                      EXPECT_EQ(SaverHostState.cursorOrigin.x, 321);
                      EXPECT_EQ(SaverHostState.cursorOrigin.y, 234);
                      EXPECT_EQ(ImmGetContext(saver), nullptr) << "the window has no input context";
                      SaverHostState.associateContext = RecordAssociation;  // sees the restore
                      SaverHostState.savedInputContext = saved;
                      ExpectTitle(saver, "Screen Saver");
                      for (WPARAM command :
                           {WPARAM(SC_NEXTWINDOW), WPARAM(SC_PREVWINDOW), WPARAM(SC_SCREENSAVE)}) {
                          EXPECT_EQ(SendMessageA(saver, WM_SYSCOMMAND, command, 0), 0);
                          Pump(20);
                          EXPECT_TRUE(IsWindow(saver)) << std::hex << command;
                      }
                      KillTimer(saver, FireEffectState.timerId);
                      Pump(20);
                      const uint8_t* current = FireEffectState.field.current;
                      SendMessageA(saver, WM_PAINT, 0, 0);
                      EXPECT_EQ(FireEffectState.field.current, current);
                      SendMessageA(saver, WM_TIMER, 77, 0);
                      EXPECT_NE(FireEffectState.field.current, current);
                      SaverHostState.closeAllowed = 1;
                      current = FireEffectState.field.current;
                      EXPECT_EQ(SendMessageA(saver, WM_TIMER, FrameTimerId, 0), 0);
                      EXPECT_EQ(FireEffectState.field.current, current);
                      SendMessageA(saver, WM_SYSCOMMAND, SC_CLOSE, 0);
                      EXPECT_FALSE(IsWindow(saver));
                  }),
              0)
        << "the loop ends on the window's destruction";
    EXPECT_EQ(restored, std::make_pair(made, saved));
}

TEST_F(HostWindow, PreviewTitleAndHelpGoingToTheParent)
{
    RunSaverWith(parent = MakeRecordingParent(152, 112), [&](HWND saver) {
        ExpectTitle(saver, "Preview");
        HELPINFO help = {sizeof help, HELPINFO_WINDOW, 0, saver, 0, {0, 0}};
        const std::pair<UINT, LPARAM> requests[] = {{WM_HELP, reinterpret_cast<LPARAM>(&help)},
                                                    {WM_CONTEXTMENU, 0x00560078}};
        for (auto [message, lParam] : requests) {
            EXPECT_EQ(SendMessageA(saver, message, 0x1234, lParam), 1);
            Pump(20);
            EXPECT_EQ(ParentMessage.hwnd, parent);
            EXPECT_EQ(ParentMessage.message, message);
            EXPECT_EQ(ParentMessage.wParam, reinterpret_cast<WPARAM>(parent));
            EXPECT_EQ(ParentMessage.lParam, lParam);
        }
        SetParent(saver, nullptr);  // without a parent window: dropped, still 1
        ParentMessage = {};
        EXPECT_EQ(SendMessageA(saver, WM_HELP, 0, 0), 1);
        Pump(20);
        EXPECT_EQ(ParentMessage.message, 0u);
    });
}

TEST_F(HostWindow, ClassRefusedAfterTheVerifierRaisedTheState)
{
    WNDCLASSA taken = {};  // the class is this module's already
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = SaverHostState.instance;
    taken.lpszClassName = SaverClassName;
    ASSERT_TRUE(RegisterClassA(&taken));
    SetUsePassword(true);
    EXPECT_EQ(RunSaverWindow(nullptr), -1) << "no window, no loop: the run says so";
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);
    // Raised once the verifier was loaded, still so when it was freed, lowered after.
    EXPECT_EQ(ReadWholeFile(log), pid + " attach running=0\r\n" + pid + " unload running=1\r\n");
}

TEST_F(HostWindow, RunningFullScreenSaverMeansNoVerifierForTheSecond)
{
    RunSaverWith(nullptr, [this](HWND first) {
        SetUsePassword(true);
        EXPECT_EQ(RunSaverWindow(nullptr), 0);
        EXPECT_EQ(SaverHostState.saverWindow, first);
        EXPECT_EQ(ReadWholeFile(log), "") << "no verifier loaded";
        EXPECT_EQ(SaverRunningState(), FALSE);
    });
}

}  // namespace
