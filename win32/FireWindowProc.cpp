#include "win32/FireWindowProc.h"

#include <commctrl.h>

#include "win32/DefaultSaverProc.h"
#include "win32/FireSettingsFile.h"
#include "win32/SaverHostState.h"
#include "win32/SaverWindow.h"

FireEffectStateRecord FireEffectState;

namespace {

void CreateFireEffect(HWND window)
{
    FireEffectStateRecord& effect = FireEffectState;
    BuildFireColorRamp(effect.colorRamp);
    LoadFireSettings();
    if (SaverHostState.isPreview) {
        RECT client = {};
        GetClientRect(window, &client);
        CreateFire(effect.fires[0], {0, 0, client.right, client.bottom}, FireSettings, 1);
        effect.fireCount = 1;
    } else {
        // A fire on every monitor; between them, the erase's black.
        const SaverLayout layout = FullScreenLayout();
        for (int32_t i = 0; i < layout.fireCount; ++i)
            CreateFire(effect.fires[i], layout.fires[i].area, FireSettings, layout.fires[i].seed);
        effect.fireCount = layout.fireCount;
    }

    effect.windowDC = GetDC(window);
    effect.palette = BuildFirePalette(effect.colorRamp);
    BuildPictureFormat(effect.pictureFormat, effect.colorRamp);
    // The password verifier's dialog runs in this process and may want the
    // common controls' classes.
    InitCommonControls();
    effect.timerId = SetTimer(window, FrameTimerId, FrameInterval, nullptr);
}

// Only the rows where each fire burns are spread, copied and drawn; the
// window already shows the rest, and needs no drawing when no fire changed.
void DrawFireFrame(HWND window)
{
    FireEffectStateRecord& effect = FireEffectState;
    int32_t from[MaxFires];
    bool changed = false;
    for (int32_t i = 0; i < effect.fireCount; ++i) {
        from[i] = RunFireFrame(effect.fires[i]);
        changed |= from[i] < effect.fires[i].field.height;
    }
    if (!changed) return;
    HDC dc = GetDC(window);
    SelectPalette(dc, effect.palette, FALSE);
    RealizePalette(dc);
    for (int32_t i = 0; i < effect.fireCount; ++i)
        PresentFire(dc, effect.fires[i], effect.pictureFormat, from[i]);
    ReleaseDC(window, dc);
}

void DestroyFireEffect(HWND window)
{
    FireEffectStateRecord& effect = FireEffectState;
    if (effect.palette) {
        // A palette still selected into a context cannot be deleted; the
        // window's own context keeps ours until it is swapped out here.
        SelectPalette(effect.windowDC, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)),
                      FALSE);
        DeleteObject(effect.palette);
    }
    for (int32_t i = 0; i < effect.fireCount; ++i) DestroyFire(effect.fires[i]);
    if (effect.timerId) KillTimer(window, effect.timerId);
    // The window's own context ends with the window.
    effect = FireEffectStateRecord();
}

void EraseFireWindow(HWND window)
{
    FireEffectStateRecord& effect = FireEffectState;
    RECT client = {};
    GetClientRect(window, &client);
    PatBlt(effect.windowDC, client.left, client.top, client.right, client.bottom, BLACKNESS);
    for (int32_t i = 0; i < effect.fireCount; ++i) ShowWholeFire(effect.fires[i]);
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
        EraseFireWindow(window);
        break;
    case WM_PAINT:
        // Nothing is drawn here; the next frame draws every picture whole.
        for (int32_t i = 0; i < FireEffectState.fireCount; ++i)
            ShowWholeFire(FireEffectState.fires[i]);
        break;
    case WM_TIMER:
        DrawFireFrame(window);
        break;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}
