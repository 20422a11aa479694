// The saver window as the host runs it (RunSaverWindow): creation and
// destruction, the title, blocked system commands, help in the preview, the
// end of drawing once a close has been allowed, and a run that cannot make
// its window.
#include <string>

#include "fire/FireWindowProc.h"
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"
#include "host/SaverWindow.h"
#include "support/WindowHarness.h"

namespace {

using HostWindow = InProcessTest;

struct Association {
    HWND window;
    HIMC context;
} restored;

HIMC WINAPI RecordAssociation(HWND window, HIMC context)
{
    restored = {window, context};
    return nullptr;
}

TEST_F(HostWindow, CreationTakesThePointerOriginAndTheInputContextDestructionGivesThemBack)
{
    SetCursorPos(321, 234);
    HWND made = nullptr;
    restored = {};
    const HIMC saved = reinterpret_cast<HIMC>(0x1234);
    EXPECT_EQ(RunSaverWith(nullptr, [&](HWND saver) {
                  made = saver;
                  EXPECT_EQ(SaverHostState.cursorOrigin.x, 321);
                  EXPECT_EQ(SaverHostState.cursorOrigin.y, 234);
                  EXPECT_EQ(SaverHostState.imeLibrary, GetModuleHandleA("IMM32.DLL"));
                  EXPECT_EQ(ImmGetContext(saver), nullptr) << "the window has no input context";
                  // Destruction hands the saved context back through the entry.
                  SaverHostState.associateContext = RecordAssociation;
                  SaverHostState.savedInputContext = saved;
              }),
              0)
        << "the loop ends on the window's destruction";
    EXPECT_EQ(restored.window, made);
    EXPECT_EQ(restored.context, saved);
}

TEST_F(HostWindow, TitleCannotBeChanged)
{
    for (const bool preview : {false, true}) {
        if (preview) parent = MakeRecordingParent(152, 112);
        RunSaverWith(parent, [&](HWND saver) {
            EXPECT_EQ(SendMessageA(saver, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
            char title[64] = {};
            GetWindowTextA(saver, title, sizeof title);
            EXPECT_STREQ(title, preview ? "Preview" : "Screen Saver");
        });
    }
}

TEST_F(HostWindow, FullScreenBlocksTaskSwitchAndSaverCommandsOnly)
{
    RunSaverWith(nullptr, [](HWND saver) {
        for (WPARAM command : {WPARAM(SC_NEXTWINDOW), WPARAM(SC_PREVWINDOW), WPARAM(SC_SCREENSAVE)}) {
            EXPECT_EQ(SendMessageA(saver, WM_SYSCOMMAND, command, 0), 0);
            Pump(20);
            EXPECT_TRUE(IsWindow(saver)) << std::hex << command;
            EXPECT_EQ(SaverHostState.closeAllowed, 0u);
        }
        // Any other command takes the normal road: a close, allowed at once
        // without a password.
        SendMessageA(saver, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(IsWindow(saver));
        EXPECT_EQ(SaverHostState.closeAllowed, 1u);
    });
}

TEST_F(HostWindow, PreviewHelpGoesToTheParent)
{
    parent = MakeRecordingParent(152, 112);
    RunSaverWith(parent, [&](HWND saver) {
        // Help carries a pointer to its details, the context menu a position.
        HELPINFO help = {};
        help.cbSize = sizeof help;
        help.iContextType = HELPINFO_WINDOW;
        help.hItemHandle = saver;
        const std::pair<UINT, LPARAM> requests[] = {{WM_HELP, reinterpret_cast<LPARAM>(&help)},
                                                    {WM_CONTEXTMENU, 0x00560078}};
        for (auto [message, lParam] : requests) {
            ParentMessage = {};
            EXPECT_EQ(SendMessageA(saver, message, 0x1234, lParam), 1);
            Pump(20);
            EXPECT_EQ(ParentMessage.message, message);
            EXPECT_EQ(ParentMessage.hwnd, parent);
            EXPECT_EQ(ParentMessage.wParam, reinterpret_cast<WPARAM>(parent));
            EXPECT_EQ(ParentMessage.lParam, lParam);
        }
        // Without a parent that is a window the request is dropped, still 1.
        SetParent(saver, nullptr);
        ParentMessage = {};
        EXPECT_EQ(SendMessageA(saver, WM_HELP, 0, 0), 1);
        Pump(20);
        EXPECT_EQ(ParentMessage.message, 0u);
    });
}

TEST_F(HostWindow, TimerFramesPassUntilTheCloseIsAllowed)
{
    RunSaverWith(nullptr, [](HWND saver) {
        KillTimer(saver, FireEffectState.timerId);
        for (const DWORD closeAllowed : {0u, 1u}) {
            SaverHostState.closeAllowed = closeAllowed;
            const uint8_t* current = FireEffectState.field.current;
            EXPECT_EQ(SendMessageA(saver, WM_TIMER, FrameTimerId, 0), 0);
            EXPECT_EQ(FireEffectState.field.current != current, closeAllowed == 0) << closeAllowed;
        }
        // Input no longer asks for a close.
        SendMessageA(saver, WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_EQ(TakePostedCloses(saver), 0);
    });
}

// The saver's own log of the verifier double, beside this program.
class VerifierLog : public InProcessTest {
protected:
    void SetUp() override
    {
        InProcessTest::SetUp();
        log = ProgramFolder() + "probe-" + std::to_string(GetCurrentProcessId()) + ".log";
        DeleteFileA(log.c_str());
        SetEnvironmentVariableA("EMBRIX_PROBE_LOG", log.c_str());
    }
    void TearDown() override
    {
        InProcessTest::TearDown();
        SetEnvironmentVariableA("EMBRIX_PROBE_LOG", nullptr);
        DeleteFileA(log.c_str());
        UnregisterClassA(SaverClassName, SaverHostState.instance);
    }
    std::string log;
};

TEST_F(VerifierLog, ClassRefusedAfterTheVerifierRaisedTheState)
{
    // The class is this module's already, so the run cannot register it.
    WNDCLASSA taken = {};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = SaverHostState.instance;
    taken.lpszClassName = SaverClassName;
    ASSERT_TRUE(RegisterClassA(&taken));
    SetUsePassword(true);
    EXPECT_EQ(RunSaverWindow(nullptr), -1) << "no window, no loop: the run says so";
    EXPECT_EQ(SaverHostState.saverWindow, nullptr);
    EXPECT_EQ(SaverHostState.passwordLibrary, nullptr);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);
    // Raised once the verifier was loaded, still so when it was freed, and
    // lowered right after.
    const std::string pid = std::to_string(GetCurrentProcessId());
    EXPECT_EQ(ReadWholeFile(log), pid + " attach running=0\r\n" + pid + " unload running=1\r\n");
}

TEST_F(VerifierLog, RunningFullScreenSaverMeansNoVerifierForTheSecond)
{
    RunSaverWith(nullptr, [this](HWND first) {
        SetUsePassword(true);
        EXPECT_EQ(RunSaverWindow(nullptr), 0);
        EXPECT_EQ(SaverHostState.saverWindow, first);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_EQ(SaverRunningState(), FALSE);
        EXPECT_EQ(ReadWholeFile(log), "");
    });
}

}  // namespace
