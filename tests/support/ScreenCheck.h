// The screen read back the way a screenshot reads it, and what the fire
// looks like on it.
#pragma once
#include <windows.h>

#include <vector>

struct Screenshot {
    int width = 0;
    std::vector<DWORD> pixels;  // 0x00RRGGBB, rows from the top
};

// Every monitor: (0, 0) is the virtual screen's top-left corner, where the
// full-screen saver's client area starts.
Screenshot CaptureScreen();

struct FireLook {
    int lit = 0;            // non-black pixels inside the fire's rectangle
    int litNearBottom = 0;  // of them, in the rectangle's lowest four rows
    int litOutside = 0;     // non-black pixels elsewhere in the area looked at
    int strange = 0;        // pixels inside that are no colour of the fire's ramp
    DWORD firstStrange = 0;
};

// Looks at an area of the screen: the fire's rectangle should hold only fire
// colours as a true-colour display shows them, the rest only black.
FireLook LookAt(const Screenshot& shot, const RECT& area, const RECT& fire);
