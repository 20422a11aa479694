#include "win32/SaverWindow.h"

#include "win32/HostWindowProc.h"
#include "win32/PasswordVerifier.h"
#include "win32/SaverHostState.h"

const char SaverClassName[] = "WindowsScreenSaverClass";
const char FullScreenTitle[] = "Screen Saver";
const char PreviewTitle[] = "Preview";

namespace {

constexpr UINT SaverClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
constexpr DWORD PreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr DWORD FullScreenStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr WORD SaverIconId = 100;  // no such icon: the class goes without one

// What the run returns when its window never existed, so the loop never ran.
constexpr int NoSaverWindow = -1;

// A full-screen saver already running is brought forward instead.
bool ForwardToRunningSaver()
{
    HWND running = FindWindowA(SaverClassName, FullScreenTitle);
    if (!running || !IsWindow(running)) return false;
    SetForegroundWindow(running);
    return true;
}

int RunMessageLoop()
{
    MSG message = {};
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return NoSaverWindow;  // the queue is gone: nothing more will come
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

struct MonitorList {
    ScreenRect monitors[MaxMonitors];
    int32_t count;
    int32_t primary;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MonitorList& found = *reinterpret_cast<MonitorList*>(list);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    if (info.dwFlags & MONITORINFOF_PRIMARY) found.primary = found.count;
    found.monitors[found.count++] = {r.left, r.top, r.right, r.bottom};
    return found.count < MaxMonitors;
}

}  // namespace

SaverLayout FullScreenLayout()
{
    MonitorList found = {};
    found.primary = -1;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&found));
    if (found.primary < 0 && found.count < MaxMonitors) {
        // The primary monitor's top-left corner is the screen's origin.
        found.primary = found.count;
        found.monitors[found.count++] = {0, 0, GetSystemMetrics(SM_CXSCREEN),
                                         GetSystemMetrics(SM_CYSCREEN)};
    }
    const int32_t left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int32_t top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const ScreenRect virtualScreen = {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                      top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    return LayOutFullScreen(virtualScreen, found.monitors, found.count, found.primary);
}

int RunSaverWindow(HWND parent)
{
    WNDCLASSA saverClass = {};
    saverClass.style = SaverClassStyle;
    saverClass.lpfnWndProc = HostWindowProc;
    saverClass.hInstance = SaverHostState.instance;
    saverClass.hIcon = LoadIconA(SaverHostState.instance, MAKEINTRESOURCEA(SaverIconId));
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = SaverClassName;

    int x = 0, y = 0, width, height;
    DWORD style, exStyle;
    const char* title;
    if (parent) {
        RECT client = {};
        GetClientRect(parent, &client);
        width = client.right;
        height = client.bottom;
        style = PreviewStyle;
        exStyle = 0;
        title = PreviewTitle;
        SaverHostState.isPreview = 1;
    } else {
        const ScreenRect screen = FullScreenLayout().window;
        x = screen.left;
        y = screen.top;
        width = screen.right - screen.left;
        height = screen.bottom - screen.top;
        style = FullScreenStyle;
        exStyle = WS_EX_TOPMOST;
        title = FullScreenTitle;
        if (ForwardToRunningSaver()) return 0;
        LoadPasswordVerifier();
    }

    int result = NoSaverWindow;
    if (RegisterClassA(&saverClass)) {
        SaverHostState.saverWindow =
            CreateWindowExA(exStyle, SaverClassName, title, style, x, y, width, height, parent,
                            nullptr, SaverHostState.instance, nullptr);
    }
    if (SaverHostState.saverWindow) {
        if (!SaverHostState.isPreview) SetForegroundWindow(SaverHostState.saverWindow);
        result = RunMessageLoop();
    }
    UnloadPasswordVerifier();
    return result;
}
