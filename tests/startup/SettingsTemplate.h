// What the settings dialog's template holds, control by control, in order.
#pragma once
#include <windows.h>

struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    short x, y, width, height;
};

constexpr DWORD SettingsDialogStyle = 0x90C800C0;
constexpr int SettingsControlCount = 17;

inline constexpr ExpectedControl SettingsControls[SettingsControlCount] = {
    {-1, "Button", "Fire size", 0x50020007, 4, 7, 127, 26},
    {1007, "Button", "1 / 16", 0x50000009, 9, 19, 34, 10},
    {1008, "Button", "1 / 8", 0x50000009, 55, 19, 30, 10},
    {1009, "Button", "1 / 4", 0x50000009, 97, 19, 30, 10},
    {-1, "Button", "Scaling", 0x50020007, 139, 7, 127, 26},
    {1010, "Button", "Normal size", 0x50000009, 143, 18, 49, 10},
    {1011, "Button", "Fullscreen", 0x58000009, 212, 18, 46, 10},
    {-1, "Button", "New fire", 0x50000007, 3, 37, 127, 53},
    {-1, "Static", "Often", 0x50020001, 6, 50, 30, 8},
    {-1, "Static", "Seldom", 0x50020001, 97, 50, 30, 8},
    {1019, "msctls_trackbar32", "Generic1", 0x50010005, 12, 59, 110, 25},
    {-1, "Button", "Fire type", 0x50000007, 139, 37, 127, 53},
    {-1, "Static", "Wild", 0x50020001, 148, 50, 16, 8},
    {-1, "Static", "Slow", 0x50020001, 238, 50, 21, 8},
    {1018, "msctls_trackbar32", "Generic1", 0x50010005, 148, 59, 110, 25},
    {2, "Button", "Cancel", 0x50010000, 3, 96, 50, 14},
    {1, "Button", "OK", 0x50010001, 217, 96, 50, 14},
};
