#include "win32/FireWindowProc.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "fire/FireFrameStep.h"
#include "fire/FireSettings.h"
#include "win32/DefaultSaverProc.h"
#include "win32/SaverHostState.h"
#include "win32/SaverWindow.h"

FireEffectStateRecord FireEffectState;

namespace {

void CreateFireEffect(HWND window)
{
    FireEffectStateRecord& fire = FireEffectState;
    BuildFireColorRamp(fire.colorRamp);
    GetClientRect(window, &fire.clientRect);
    if (!SaverHostState.isPreview) {
        // Full screen, the fire keeps to the primary monitor; the other
        // monitors get the erase's black.
        const ScreenRect primary = FullScreenLayout().fire;
        SetRect(&fire.clientRect, primary.left, primary.top, primary.right, primary.bottom);
    }
    LoadFireSettings();

    int32_t size = FireGridDivisor(FireSettings.size);
    fire.field.width = (fire.clientRect.right - fire.clientRect.left) / size;
    fire.field.height = (fire.clientRect.bottom - fire.clientRect.top) / size;
    size_t cells = static_cast<size_t>(fire.field.width) * static_cast<size_t>(fire.field.height);
    // Zeroed, so the fire rises from black.
    fire.field.next = static_cast<uint8_t*>(std::calloc(cells, 1));
    fire.field.current = static_cast<uint8_t*>(std::calloc(cells, 1));

    fire.windowDC = GetDC(window);
    fire.palette = BuildFirePalette(fire.colorRamp, FireColorCount);
    fire.surface = CreateFrameSurface(fire.colorRamp, fire.field.width, fire.field.height);
    InitCommonControls();
    fire.timerId = SetTimer(window, FrameTimerId, FrameInterval, nullptr);
}

void DrawFireFrame(HWND window)
{
    FireEffectStateRecord& fire = FireEffectState;
    FireField& field = fire.field;
    // Whatever creation could not make, a frame must not write into.
    if (!field.next || !field.current || !fire.surface.pixels) return;

    RunNewFireCountdown(field, FireSettings.fireType, FireSettings.newFire);
    // Only the rows where the fire burns are spread, copied and drawn; the
    // window already shows the rest.
    const int32_t changed = StepFireFrame(field, fire.surface.pixels, fire.surfaceShowsCurrent);
    fire.surfaceShowsCurrent = true;
    fire.presentFrom = std::min(fire.presentFrom, changed);
    PresentFrame(window, fire.surface, fire.palette, fire.clientRect, field.width, field.height,
                 FireGridDivisor(FireSettings.size), FireSettings.scaling, fire.presentFrom);
    fire.presentFrom = field.height;
}

void DestroyFireEffect(HWND window)
{
    FireEffectStateRecord& fire = FireEffectState;
    DestroyFrameSurface(fire.surface);
    if (fire.palette) {
        // A palette still selected into a context cannot be deleted; the
        // window's own context keeps ours until it is swapped out here.
        SelectPalette(fire.windowDC, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        DeleteObject(fire.palette);
    }
    std::free(fire.field.next);
    std::free(fire.field.current);
    if (fire.timerId) KillTimer(window, fire.timerId);
}

}  // namespace

LRESULT CALLBACK FireWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateFireEffect(window);
        break;
    case WM_DESTROY:
        DestroyFireEffect(window);
        break;
    case WM_ERASEBKGND:
        EraseFrameBackground(window, FireEffectState.windowDC, FireEffectState.surface);
        FireEffectState.surfaceShowsCurrent = false;
        FireEffectState.presentFrom = 0;
        break;
    case WM_PAINT:
        // Nothing is drawn here; the next frame draws the whole picture.
        FireEffectState.presentFrom = 0;
        break;
    case WM_TIMER:
        DrawFireFrame(window);
        break;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}
