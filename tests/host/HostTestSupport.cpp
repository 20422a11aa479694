#include "HostTestSupport.h"
#include <cstdio>
#include "host/DefaultSaverProc.h"
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"

namespace {

const char TestClassName[] = "EmbrixHostTestSaver";

// The chain ends here as it does in the saver: every message reaches
// DefaultSaverProc.
LRESULT CALLBACK TestSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultSaverProc(window, message, wParam, lParam);
}

template <typename Entry>
Entry FindEntry(HMODULE library, const char* name)
{
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// A fault in a case ends the program with the fault's code at once: Wine's
// crash dialog would otherwise hold the run until someone clicks it.
LONG WINAPI EndOnFault(EXCEPTION_POINTERS* exception)
{
    std::fprintf(stderr, "fatal exception 0x%08lx\n",
                 static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    ExitProcess(exception->ExceptionRecord->ExceptionCode);
}

const LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter = SetUnhandledExceptionFilter(EndOnFault);

const char DesktopKey[] = "Control Panel\\Desktop";
const char UsePasswordValue[] = "ScreenSaveUsePassword";

}  // namespace

HCURSOR ArrowCursor()
{
    return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
}

HWND MakeSaverTestWindow(HWND parent)
{
    static ATOM registered = 0;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = TestSaverProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = ArrowCursor();
        windowClass.lpszClassName = TestClassName;
        registered = RegisterClassA(&windowClass);
    }
    const DWORD style = parent ? WS_CHILD : WS_POPUP;
    return CreateWindowExA(0, TestClassName, "Screen Saver", style, 0, 0, 64, 48, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

int TakePostedCloses(HWND window)
{
    int count = 0;
    MSG message;
    while (PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        ++count;
    return count;
}

void PumpUntilGone(HWND window)
{
    // Bounded: a close that never comes must fail the test, not hang it.
    for (int round = 0; round < 1000 && IsWindow(window); ++round) {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void SetUsePassword(DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, DesktopKey, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, UsePasswordValue, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetUsePasswordDword(DWORD value)
{
    SetUsePassword(REG_DWORD, &value, sizeof value);
}

void DeleteUsePassword()
{
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, DesktopKey, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, UsePasswordValue);
    RegCloseKey(key);
}

BOOL SaverRunningState()
{
    BOOL running = 0x5A5A;  // neither TRUE nor FALSE: shows a call that wrote nothing
    if (!SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0))
        return -1;
    return running;
}

bool FindVerifierDouble(VerifierDoubleEntries* entries)
{
    HMODULE library = GetModuleHandleA("PASSWORD.CPL");
    if (!library)
        return false;
    entries->reset = FindEntry<VerifierDoubleResetEntry>(library, "VerifierDoubleReset");
    entries->script = FindEntry<VerifierDoubleScriptEntry>(library, "VerifierDoubleScript");
    entries->duringCall = FindEntry<VerifierDoubleDuringCallEntry>(library, "VerifierDoubleDuringCall");
    entries->callCount = FindEntry<VerifierDoubleCallCountEntry>(library, "VerifierDoubleCallCount");
    entries->callAt = FindEntry<VerifierDoubleCallAtEntry>(library, "VerifierDoubleCallAt");
    return entries->reset && entries->script && entries->duringCall && entries->callCount &&
           entries->callAt;
}

void HostTest::SetUp()
{
    SaverHostState = SaverHostStateAtStart;
    DeleteUsePassword();
    SetSaverRunning(FALSE);
    SetCursorPos(500, 400);
}

void HostTest::TearDown()
{
    UnloadPasswordVerifier();
    if (window && IsWindow(window))
        DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    DeleteUsePassword();
    SetSaverRunning(FALSE);
    SaverHostState = SaverHostStateAtStart;
}

std::string ReadLogFile(const char* path)
{
    std::string text;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(no file)";
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    return text;
}
