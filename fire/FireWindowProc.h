// The fire effect's handling of the saver window's messages.
#pragma once
#include <windows.h>
#include "fire/FireColors.h"
#include "fire/FireSimulation.h"
#include "fire/FrameSurface.h"

constexpr UINT_PTR FrameTimerId = 1;
constexpr UINT FrameInterval = 1;  // ms; the platform delivers what it can

struct FireEffectStateRecord {
    RECT clientRect;  // where the fire goes: the primary monitor, or the whole preview
    FireColorRamp colorRamp;
    FireField field;
    HDC windowDC;
    HPALETTE palette;
    FrameSurface surface;
    UINT_PTR timerId;
};

extern FireEffectStateRecord FireEffectState;

LRESULT CALLBACK FireWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
