// The fire effect's handling of the saver window's messages.
#pragma once
#include <windows.h>
#include "fire/FireColors.h"
#include "fire/FireSimulation.h"
#include "win32/FireDrawing.h"

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
    // The surface holds field.current + FireIndexBase; false from creation
    // and after an erase, which leave it black.
    bool surfaceShowsCurrent;
    // The next present draws the picture's rows from here down; 0, the
    // whole picture, after creation, an erase or a repaint.
    int32_t presentFrom;
};

extern FireEffectStateRecord FireEffectState;

LRESULT CALLBACK FireWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
