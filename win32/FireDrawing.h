// The 8-bit off-screen frame, the fire palette and the GDI drawing of frames.
#pragma once
#include <windows.h>
#include "fire/FireColors.h"

struct FrameSurface {
    HDC memoryDC;            // none when creation failed
    HBITMAP previousBitmap;  // selected back at destruction
    uint8_t* pixels;         // owned by the DIB section
};

HPALETTE BuildFirePalette(FireColorRamp& ramp, int32_t fireCount);
FrameSurface CreateFrameSurface(const FireColorRamp& ramp, int32_t width, int32_t height);
void DestroyFrameSurface(FrameSurface& surface);
void EraseFrameBackground(HWND window, HDC windowDC, const FrameSurface& surface);
// Draws the picture's rows firstRow..height-1, centred; stretched, always the
// whole picture, since a part of a stretch need not match the whole.
void PresentFrame(HWND window, const FrameSurface& surface, HPALETTE palette,
                  const RECT& clientRect, int32_t width, int32_t height, int32_t size,
                  int32_t scaling, int32_t firstRow);
