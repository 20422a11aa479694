#include "WindowTestSupport.h"

#include "fire/FireSettings.h"
#include "fire/FireSimulation.h"
#include "fire/FireWindowProc.h"
#include "host/HostWindowProc.h"
#include "host/SaverHostState.h"
#include "host/SaverWindow.h"

ParentMessage LastParentMessage;
bool QuitSeen;

namespace {

LRESULT CALLBACK TestParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HELP || message == WM_CONTEXTMENU) {
        LastParentMessage = {message, wParam, lParam};
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void ResetSaverRecords()
{
    SaverHostState = SaverHostStateAtStart;
    SaverHostState.instance = GetModuleHandleA(nullptr);
    FireEffectState = FireEffectStateRecord{};
    FireSettings = FireSettingsRecord{};
    randomSeed = 1;
    newFireCountdown = 0;
    LastParentMessage = {};
    QuitSeen = false;
}

void RegisterSaverClassForTests()
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSA saverClass = {};
    saverClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    saverClass.lpfnWndProc = HostWindowProc;
    saverClass.hInstance = GetModuleHandleA(nullptr);
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = SaverClassName;
    registered = RegisterClassA(&saverClass) != 0;

    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = TestParentProc;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    parentClass.lpszClassName = "EmbrixTestParent";
    RegisterClassA(&parentClass);
}

HWND CreateSaverWindowForTests(HWND parent)
{
    RegisterSaverClassForTests();
    if (parent) {
        RECT client = {};
        GetClientRect(parent, &client);
        SaverHostState.isPreview = 1;
        SaverHostState.saverWindow =
            CreateWindowExA(0, SaverClassName, PreviewTitle, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                            0, 0, client.right, client.bottom, parent, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    } else {
        SaverHostState.saverWindow = CreateWindowExA(
            WS_EX_TOPMOST, SaverClassName, FullScreenTitle,
            WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
            GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
            GetModuleHandleA(nullptr), nullptr);
    }
    return SaverHostState.saverWindow;
}

HWND CreateTestParent(int width, int height)
{
    RegisterSaverClassForTests();
    // No frame, so the client area is exactly the size asked for, however small.
    return CreateWindowExA(0, "EmbrixTestParent", "Embrix test parent",
                           WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {  // the test, not the queue, decides
                QuitSeen = true;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}
