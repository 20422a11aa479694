#include "support/WindowHarness.h"

#include <cstdio>

#include "fire/FireSettings.h"
#include "fire/FireSimulation.h"
#include "fire/FireWindowProc.h"
#include "host/DefaultSaverProc.h"
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"
#include "host/SaverWindow.h"

MSG ParentMessage;

namespace {

// A fault ends the program with its code at once: Wine's crash dialog would
// otherwise hold the run until someone clicks it.
LONG WINAPI EndOnFault(EXCEPTION_POINTERS* exception)
{
    std::fprintf(stderr, "fatal exception 0x%08lx\n",
                 static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    ExitProcess(exception->ExceptionRecord->ExceptionCode);
}
const LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = SetUnhandledExceptionFilter(EndOnFault);

std::function<void(HWND)> Body;
UINT_PTR BodyTimer, QuitTimer;

void CALLBACK PostNoQuit(HWND, UINT, UINT_PTR, DWORD)
{
    KillTimer(nullptr, QuitTimer);
    PostQuitMessage(NoQuit);
}

void CALLBACK RunBody(HWND, UINT, UINT_PTR, DWORD)
{
    KillTimer(nullptr, BodyTimer);
    const HWND saver = SaverHostState.saverWindow;
    Body(saver);
    if (IsWindow(saver)) {
        SaverHostState.closeAllowed = 1;
        DestroyWindow(saver);
    }
    QuitTimer = SetTimer(nullptr, 0, 2000, PostNoQuit);  // a guard against a lost quit
}

LRESULT CALLBACK RecordParentMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HELP || message == WM_CONTEXTMENU) {
        ParentMessage = {window, message, wParam, lParam, 0, {0, 0}};
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindowOfClass(const char* name, WNDPROC procedure, DWORD style, int width, int height,
                       HWND parent)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);  // once; later calls find it there
    return CreateWindowExA(0, name, name, style, 100, 100, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
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
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return done();
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

HWND MakeRecordingParent(int width, int height)
{
    return MakeWindowOfClass("EmbrixRecordingParent", RecordParentMessage,
                             WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, width, height, nullptr);
}

HWND MakeChainEndWindow(HWND parent)
{
    return MakeWindowOfClass("EmbrixChainEnd", DefaultSaverProc, parent ? WS_CHILD : WS_POPUP, 64,
                             48, parent);
}

int TakePostedCloses(HWND window)
{
    int count = 0;
    MSG message;
    while (PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE)) ++count;
    return count;
}

BOOL SaverRunningState()
{
    BOOL running = 0x5A5A;  // neither answer: shows a call that wrote nothing
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}

void SetUsePasswordBytes(DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "ScreenSaveUsePassword", 0, type, static_cast<const BYTE*>(data),
                             size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

bool FindVerifierDouble(VerifierDoubleEntries* entries)
{
    HMODULE library = GetModuleHandleA("PASSWORD.CPL");
    auto find = [library](const char* name) {
        return reinterpret_cast<void (*)()>(library ? GetProcAddress(library, name) : nullptr);
    };
    entries->reset = reinterpret_cast<VerifierDoubleResetEntry>(find("VerifierDoubleReset"));
    entries->script = reinterpret_cast<VerifierDoubleScriptEntry>(find("VerifierDoubleScript"));
    entries->duringCall =
        reinterpret_cast<VerifierDoubleDuringCallEntry>(find("VerifierDoubleDuringCall"));
    entries->callCount =
        reinterpret_cast<VerifierDoubleCallCountEntry>(find("VerifierDoubleCallCount"));
    entries->callAt = reinterpret_cast<VerifierDoubleCallAtEntry>(find("VerifierDoubleCallAt"));
    return entries->reset && entries->script && entries->duringCall && entries->callCount &&
           entries->callAt;
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
    if (window && IsWindow(window)) DestroyWindow(window);
    if (parent && IsWindow(parent)) DestroyWindow(parent);
    Pump(0);
    SetSaverRunning(FALSE);
}
