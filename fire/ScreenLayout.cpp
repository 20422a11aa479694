#include "fire/ScreenLayout.h"

#include <algorithm>

#include "fire/FireSettings.h"

SaverLayout LayOutFullScreen(const ScreenRect& virtualScreen, const ScreenRect& primary)
{
    SaverLayout layout;
    layout.window = primary;
    // The union, so the primary is covered whatever the metrics say.
    if (virtualScreen.right > virtualScreen.left && virtualScreen.bottom > virtualScreen.top) {
        layout.window.left = std::min(virtualScreen.left, primary.left);
        layout.window.top = std::min(virtualScreen.top, primary.top);
        layout.window.right = std::max(virtualScreen.right, primary.right);
        layout.window.bottom = std::max(virtualScreen.bottom, primary.bottom);
    }
    // The client area starts at the window's top-left corner.
    layout.fire.left = primary.left - layout.window.left;
    layout.fire.top = primary.top - layout.window.top;
    layout.fire.right = primary.right - layout.window.left;
    layout.fire.bottom = primary.bottom - layout.window.top;
    return layout;
}

FramePlacement PlaceFrame(const ScreenRect& area, int32_t gridWidth, int32_t gridHeight,
                          int32_t size, int32_t scaling)
{
    const int32_t width = area.right - area.left;
    const int32_t height = area.bottom - area.top;
    if (scaling != 0) return {area.left, area.top, width, height};
    // The extent is the area's over the divisor, which sized the grid.
    const int32_t divisor = FireGridDivisor(size);
    return {area.left + (width - gridWidth) / 2, area.top + (height - gridHeight) / 2,
            width / divisor, height / divisor};
}
