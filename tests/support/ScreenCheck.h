// The screen read back the way a screenshot reads it, and what the fire
// looks like on it.
#pragma once
#include <windows.h>

#include <vector>

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Screenshot CaptureScreen();

// A colour of the fire's ramp as a true-colour display shows it.
bool IsFireColor(COLORREF color);

struct FireLook {
    int lit = 0;          // non-black pixels inside the fire's rectangle
    int litOutside = 0;   // non-black pixels elsewhere in the area looked at
    int strange = 0;      // pixels inside that are no colour of the fire
    COLORREF firstStrange = 0;
    int litNearBottom = 0;  // lit pixels in the rectangle's lowest four rows
};

// Looks at the area (the whole screen when not given): the fire's rectangle
// should hold only fire colours, the rest only black.
FireLook LookAt(const Screenshot& shot, const RECT& area, const RECT& fire);
FireLook LookAt(const Screenshot& shot, const RECT& fire);

