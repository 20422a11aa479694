// The screen read back the way a screenshot reads it.
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
