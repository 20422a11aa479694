#include "win32/SaverMain.h"

#include "win32/SettingsDialog.h"
#include "win32/CommandLine.h"
#include "win32/PasswordVerifier.h"
#include "win32/SaverHostState.h"
#include "win32/SaverWindow.h"
#include "win32/resources/ResourceIds.h"

namespace {

// The filter that was in place before the guard; the platform's own
// treatment runs with it, so that it does not come back into the guard.
LPTOP_LEVEL_EXCEPTION_FILTER FilterOutsideGuard = nullptr;

HWND WindowFromHandleValue(uint32_t handle)
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle));
}

// Runs when an exception escapes the mode. The compiler has no structured
// exception blocks, so the guard is the process's top-level filter: it takes
// the verdict of the platform's standard treatment, and on "execute handler"
// lowers the saver-running state and ends the process with that call's result,
// which is what the dispatch would have returned. Unwinding back into the
// faulted stack is not possible from here, hence the exit.
LONG WINAPI SaverGuardFilter(EXCEPTION_POINTERS* exception)
{
    SetUnhandledExceptionFilter(FilterOutsideGuard);
    const LONG verdict = UnhandledExceptionFilter(exception);
    if (verdict == EXCEPTION_EXECUTE_HANDLER)
        ExitProcess(static_cast<UINT>(SetSaverRunning(FALSE)));
    SetUnhandledExceptionFilter(SaverGuardFilter);
    return verdict;
}

int RunMode(const char* tail)
{
    const SaverSwitch found = ScanSaverSwitch(tail);
    switch (found.mode) {
    case SaverMode::ConfigureNoOwner:
        return RunConfigure(nullptr);
    case SaverMode::Configure:
        return RunConfigure(GetForegroundWindow());
    case SaverMode::ChangePassword:
        return RunChangePassword(found.argument);
    case SaverMode::Preview:
        return RunPreview(found.argument);
    case SaverMode::Run:
        return RunSaverWindow(nullptr);
    case SaverMode::None:
        break;
    }
    return -1;
}

}  // namespace

int WINAPI SaverMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int)
{
    SaverHostState.instance = instance;
    FilterOutsideGuard = SetUnhandledExceptionFilter(SaverGuardFilter);
    const int result = RunMode(commandTail);
    SetUnhandledExceptionFilter(FilterOutsideGuard);
    return result;
}

int RunPreview(const char* text)
{
    const HWND parent = WindowFromHandleValue(ParseWindowHandle(text));
    if (parent == nullptr || !IsWindow(parent)) return -1;
    return RunSaverWindow(parent);
}

int RunConfigure(HWND owner)
{
    if (!RegisterDialogControls(SaverHostState.instance)) return 0;
    return static_cast<int>(DialogBoxParamA(SaverHostState.instance,
                                            MAKEINTRESOURCEA(IDD_FIRE_SETTINGS), owner,
                                            SettingsDialogProc, 0));
}

int RunChangePassword(const char* text)
{
    HWND owner = WindowFromHandleValue(ParseWindowHandle(text));
    if (owner == nullptr || !IsWindow(owner)) owner = GetForegroundWindow();
    ChangeSaverPassword(owner);
    return 0;
}
