#include "win32/HostWindowProc.h"

#include "win32/FireWindowProc.h"
#include "win32/SaverHostState.h"

namespace {

// Leaves the window without an input context, but only through an input
// method library the process already has: it is never loaded for this.
void DetachInputContext(HWND window)
{
    SaverHostState.imeLibrary = GetModuleHandleA("IMM32.DLL");
    if (!SaverHostState.imeLibrary) return;
    SaverHostState.associateContext = reinterpret_cast<AssociateContextEntry>(
        reinterpret_cast<void*>(GetProcAddress(SaverHostState.imeLibrary, "ImmAssociateContext")));
    if (SaverHostState.associateContext)
        SaverHostState.savedInputContext = SaverHostState.associateContext(window, nullptr);
}

void RestoreInputContext(HWND window)
{
    if (SaverHostState.imeLibrary && SaverHostState.associateContext &&
        SaverHostState.savedInputContext)
        SaverHostState.associateContext(window, SaverHostState.savedInputContext);
}

// The preview's help belongs to the settings page that holds it.
void ForwardToPreviewParent(HWND window, UINT message, LPARAM lParam)
{
    HWND parent = GetParent(window);
    if (!parent || !IsWindow(parent)) return;
    WPARAM parentHandle = reinterpret_cast<WPARAM>(parent);
    if (PostMessageA(parent, message, parentHandle, lParam)) return;
    // WM_HELP carries a pointer to its HELPINFO, which the platform will not
    // post; a send carries it across, and the timeout keeps a hung parent
    // from hanging the preview.
    if (message == WM_HELP && GetLastError() == ERROR_MESSAGE_SYNC_ONLY) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(parent, message, parentHandle, lParam, SMTO_ABORTIFHUNG, 1000,
                            &ignored);
    }
}

bool IsBlockedSystemCommand(WPARAM command)
{
    // Whole values: a command with low bits set is not one of these.
    return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_SCREENSAVE;
}

}  // namespace

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        DetachInputContext(window);
        GetCursorPos(&SaverHostState.cursorOrigin);
        if (!SaverHostState.isPreview) SetCursor(nullptr);
        break;
    case WM_DESTROY:
        RestoreInputContext(window);
        SaverHostState.saverWindow = nullptr;  // no handle outlives its window
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;  // the title stays what it was created with
    case WM_PAINT:
        if (SaverHostState.closeAllowed) return DefWindowProcA(window, message, wParam, lParam);
        if (!SaverHostState.isPreview) SetCursor(nullptr);
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (SaverHostState.isPreview) {
            ForwardToPreviewParent(window, message, lParam);
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (SaverHostState.closeAllowed) return DefWindowProcA(window, message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        if (!SaverHostState.isPreview && IsBlockedSystemCommand(wParam)) return 0;
        break;
    case WM_TIMER:
        if (SaverHostState.closeAllowed) return 0;  // closing: no more frames
        // Frames come as fast as the timer allows; the rest of each time
        // slice goes to whatever else wants to run.
        Sleep(0);
        break;
    }
    return FireWindowProc(window, message, wParam, lParam);
}
