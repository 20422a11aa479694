#include "fire/ScreenLayout.h"

#include <algorithm>

#include "fire/FireSettings.h"

namespace {

bool IsEmpty(const ScreenRect& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

bool SameRect(const ScreenRect& a, const ScreenRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool ComesBefore(const ScreenRect& a, const ScreenRect& b)
{
    return a.left != b.left ? a.left < b.left : a.top < b.top;
}

// The monitors that get a fire, in the order of their seeds (1, 2, ...);
// returns how many.
int32_t OrderMonitors(const ScreenRect* monitors, int32_t count, int32_t primary,
                      int32_t (&order)[MaxFires])
{
    int32_t ordered = 0;
    auto take = [&](int32_t i) {
        for (int32_t k = 0; k < ordered; ++k) {
            if (SameRect(monitors[order[k]], monitors[i])) return;
        }
        if (ordered < MaxFires && !IsEmpty(monitors[i])) order[ordered++] = i;
    };
    if (primary >= 0 && primary < count) take(primary);
    const int32_t first = ordered;
    for (int32_t i = 0; i < count; ++i) {
        if (i != primary) take(i);
    }
    // An insertion sort: a handful of monitors, and nothing to allocate.
    for (int32_t k = first + 1; k < ordered; ++k) {
        const int32_t taken = order[k];
        int32_t at = k;
        for (; at > first && ComesBefore(monitors[taken], monitors[order[at - 1]]); --at)
            order[at] = order[at - 1];
        order[at] = taken;
    }
    return ordered;
}

int64_t Overlap(const ScreenRect& a, const ScreenRect& b)
{
    const int64_t width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int64_t height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

}  // namespace

SaverLayout LayOutFullScreen(const ScreenRect& virtualScreen, const ScreenRect* monitors,
                             int32_t count, int32_t primary)
{
    SaverLayout layout = {};
    int32_t order[MaxFires];
    layout.fireCount = OrderMonitors(monitors, count, primary, order);
    // The union, so that every monitor is covered whatever the metrics say.
    bool covered = !IsEmpty(virtualScreen);
    ScreenRect& window = layout.window;
    if (covered) window = virtualScreen;
    for (int32_t k = 0; k < layout.fireCount; ++k) {
        const ScreenRect& m = monitors[order[k]];
        if (!covered) window = m;
        covered = true;
        window = {std::min(window.left, m.left), std::min(window.top, m.top),
                  std::max(window.right, m.right), std::max(window.bottom, m.bottom)};
    }
    // The client area starts at the window's top-left corner.
    for (int32_t k = 0; k < layout.fireCount; ++k) {
        const ScreenRect& m = monitors[order[k]];
        layout.fires[k].area = {m.left - window.left, m.top - window.top, m.right - window.left,
                                m.bottom - window.top};
        layout.fires[k].seed = static_cast<uint32_t>(k + 1);
    }
    return layout;
}

uint32_t MonitorSeed(const ScreenRect* monitors, int32_t count, int32_t primary,
                     const ScreenRect& area)
{
    int32_t order[MaxFires];
    const int32_t ordered = OrderMonitors(monitors, count, primary, order);
    uint32_t seed = 1;
    int64_t most = 0;
    for (int32_t k = 0; k < ordered; ++k) {
        const int64_t overlap = Overlap(monitors[order[k]], area);
        if (overlap > most) most = overlap, seed = static_cast<uint32_t>(k + 1);
    }
    return seed;
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
