#include "support/InProcess.h"

#include "win32/DefaultSaverProc.h"
#include "win32/FireSettingsFile.h"
#include "win32/FireWindowProc.h"
#include "win32/PasswordVerifier.h"
#include "win32/SaverHostState.h"
#include "win32/SaverWindow.h"

namespace {

std::function<void(HWND)> Body;
UINT_PTR BodyTimer, QuitTimer;

void CALLBACK PostNoQuit(HWND, UINT, UINT_PTR, DWORD)
{
    KillTimer(nullptr, QuitTimer);
    PostQuitMessage(0x5157);
}

void CALLBACK RunBody(HWND, UINT, UINT_PTR, DWORD)
{
    KillTimer(nullptr, BodyTimer);
    const HWND saver = SaverHostState.saverWindow;
    Body(saver);
    SaverHostState.closeAllowed = 1;
    DestroyWindow(saver);
    QuitTimer = SetTimer(nullptr, 0, 2000, PostNoQuit);  // a guard against a lost quit
}

}  // namespace

int RunSaverWith(HWND parent, const std::function<void(HWND)>& body)
{
    Body = body;
    BodyTimer = SetTimer(nullptr, 0, 0, RunBody);
    const int result = RunSaverWindow(parent);
    KillTimer(nullptr, BodyTimer);
    KillTimer(nullptr, QuitTimer);
    UnregisterClassA(SaverClassName, SaverHostState.instance);
    return result;
}

HWND MakeChainEndWindow(HWND parent)
{
    HWND window = CreateWindowExA(0, "STATIC", "", parent ? WS_CHILD : WS_POPUP, 0, 0, 64, 48,
                                  parent, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefaultSaverProc));
    return window;
}

int TakePostedCloses(HWND window)
{
    int count = 0;
    for (MSG message; PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE);) ++count;
    return count;
}

BOOL SaverRunningState()
{
    BOOL running = 0x5A5A;  // neither answer: shows a call that wrote nothing
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}

HCURSOR Arrow()
{
    return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

VerifierDoubleRecord* TakeVerifierDouble()
{
    const HMODULE library = GetModuleHandleA("PASSWORD.CPL");
    const auto record = reinterpret_cast<VerifierDoubleRecord*>(
        library ? GetProcAddress(library, "VerifierDouble") : nullptr);
    if (record) *record = {};
    return record;
}

void InProcessTest::SetUp()
{
    SaverHostState = SaverHostStateAtStart;
    SaverHostState.instance = GetModuleHandleA(nullptr);
    FireEffectState = FireEffectStateRecord{};
    FireSettings = FireSettingsRecord{};
    ParentMessage = {};
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("EMBRIX_PROBE_LOG", log.c_str());
    WriteSettingsSection("");
    SetUsePassword(false);
    SetSaverRunning(FALSE);
    SetCursorPos(500, 400);
}

void InProcessTest::TearDown()
{
    UnloadPasswordVerifier();
    if (window) DestroyWindow(window);
    if (parent) DestroyWindow(parent);
    Pump(0);
    SetSaverRunning(FALSE);
}
