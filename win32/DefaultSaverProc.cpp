#include "win32/DefaultSaverProc.h"
#include "win32/PasswordVerifier.h"
#include "win32/SaverHostState.h"

namespace {

// Where the pointer is; where it was counted from when the platform cannot
// say, so that a failed reading neither wakes the saver nor moves the origin.
POINT PointerPosition()
{
    POINT position = SaverHostState.cursorOrigin;
    POINT reading;
    if (GetCursorPos(&reading)) position = reading;
    return position;
}

// |a - b| of two screen coordinates, without signed overflow.
DWORD Distance(LONG a, LONG b)
{
    const DWORD ua = static_cast<DWORD>(a), ub = static_cast<DWORD>(b);
    return a >= b ? ua - ub : ub - ua;
}

}  // namespace

LRESULT CALLBACK DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (SaverHostState.isPreview || SaverHostState.closeAllowed)
        return DefWindowProcA(window, message, wParam, lParam);

    // Close and verify come before the verifier-active test: the verifier is
    // reached through a message sent while that flag is up.
    if (message == WM_CLOSE) {
        if (VerifyBeforeClose(window)) return DefWindowProcA(window, message, wParam, lParam);
        SaverHostState.cursorOrigin = PointerPosition();
        return 0;
    }
    if (message == MsgVerifyPassword)
        return SaverHostState.verifyPassword ? SaverHostState.verifyPassword(window) : 1;

    // The verifier's own dialog needs the pointer and the input.
    if (SaverHostState.verifierActive) return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return 1;
    case WM_SHOWWINDOW:
        if (wParam) SetCursor(nullptr);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // Posted, so the input message is finished before the close arrives.
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case WM_MOUSEMOVE: {
        // The message's own coordinates are client-relative and may be stale.
        const POINT position = PointerPosition();
        const DWORD travel = Distance(position.x, SaverHostState.cursorOrigin.x) +
                             Distance(position.y, SaverHostState.cursorOrigin.y);
        if (travel > SaverHostState.wakeThreshold) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            SaverHostState.cursorOrigin = position;
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
