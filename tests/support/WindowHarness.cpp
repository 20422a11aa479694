#include "support/WindowHarness.h"

#include "fire/FireSettings.h"
#include "fire/win32/FireWindowProc.h"
#include "host/DefaultSaverProc.h"
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"
#include "host/SaverWindow.h"

#ifndef SPI_GETSCREENSAVERRUNNING
#define SPI_GETSCREENSAVERRUNNING 114
#endif

MSG ParentMessage;

namespace {

const NoFaultDebugger EndOnFault;  // not Wine's crash dialog, which waits for a click
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

LRESULT CALLBACK RecordParentMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_HELP && message != WM_CONTEXTMENU)
        return DefWindowProcA(window, message, wParam, lParam);
    ParentMessage = {window, message, wParam, lParam, 0, {0, 0}};
    return 1;
}

// A static control (its class cursor the arrow) taken over by procedure.
HWND MakeWindow(WNDPROC procedure, DWORD style, int width, int height, HWND parent)
{
    HWND window = CreateWindowExA(0, "STATIC", "", style, 0, 0, width, height, parent, nullptr,
                                  nullptr, nullptr);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    return window;
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

bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    for (const DWORD start = GetTickCount(); !done();
         MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return done();
            }
            DispatchMessageA(&message);
        }
        if (GetTickCount() - start > ms) return done();
    }
    return true;
}

HWND MakeRecordingParent(int width, int height)
{
    return MakeWindow(RecordParentMessage, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, width, height,
                      nullptr);
}

HWND MakeChainEndWindow(HWND parent)
{
    return MakeWindow(DefaultSaverProc, parent ? WS_CHILD : WS_POPUP, 64, 48, parent);
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

template <class Entry>
bool Find(Entry& entry, const char* name)
{
    const HMODULE library = GetModuleHandleA("PASSWORD.CPL");
    entry = reinterpret_cast<Entry>(
        reinterpret_cast<void (*)()>(library ? GetProcAddress(library, name) : nullptr));
    return entry != nullptr;
}

bool FindVerifierDouble(VerifierDoubleEntries& e)
{
    return Find(e.reset, "VerifierDoubleReset") & Find(e.script, "VerifierDoubleScript") &
           Find(e.duringCall, "VerifierDoubleDuringCall") &
           Find(e.callCount, "VerifierDoubleCallCount") & Find(e.callAt, "VerifierDoubleCallAt");
}

void InProcessTest::SetUp()
{
    SaverHostState = SaverHostStateAtStart;
    SaverHostState.instance = GetModuleHandleA(nullptr);
    FireEffectState = FireEffectStateRecord{};
    FireSettings = FireSettingsRecord{};
    randomSeed = 1;
    newFireCountdown = 0;
    ParentMessage = {};
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
