// The fire on a window through GDI: the palette for displays that have one,
// and the pictures drawn from each fire's palette indices.
#pragma once
#include <windows.h>

#include "fire/Fire.h"
#include "fire/FireColors.h"

// An 8-bit top-down picture with the fire's 256 colours; the width and
// height are each fire's own, set as it is drawn.
struct FirePictureFormat {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

// The fire palette: the display's static colours in 0..9 and 246..255,
// which ramp takes over too, and ramp's fire colours, reserved, in between.
// None when the platform cannot make it.
HPALETTE BuildFirePalette(FireColorRamp& ramp);

// format for pictures in ramp's colours.
void BuildPictureFormat(FirePictureFormat& format, const FireColorRamp& ramp);

// Draws fire's picture rows first..height-1 at its place in dc; stretched,
// always the whole picture, since a part of a stretch need not match the
// whole.
void PresentFire(HDC dc, const Fire& fire, FirePictureFormat& format, int32_t first);
