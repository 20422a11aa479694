// The fire effect's handling of the saver window's messages.
#pragma once
#include <windows.h>

#include "fire/Fire.h"
#include "fire/FireColors.h"
#include "win32/FireDrawing.h"

constexpr UINT_PTR FrameTimerId = 1;
constexpr UINT FrameInterval = 1;  // ms; the platform delivers what it can

struct FireEffectStateRecord {
    FireColorRamp colorRamp;  // with the display's static colours
    FirePictureFormat pictureFormat;
    Fire fires[MaxFires];  // one a monitor, or the whole preview's
    int32_t fireCount;
    HDC windowDC;
    HPALETTE palette;
    UINT_PTR timerId;
};

extern FireEffectStateRecord FireEffectState;

LRESULT CALLBACK FireWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
