#include "x11/MonitorLayout.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace {

void Add(MonitorList& list, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (list.count < MaxMonitors) list.monitors[list.count++] = {x, y, x + width, y + height};
}

MonitorList RandrMonitors(Display* display, Window root)
{
    MonitorList list = {};
    int event = 0, error = 0, major = 0, minor = 0, count = 0;
    if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor) ||
        major * 100 + minor < 105)
        return list;
    XRRMonitorInfo* monitors = XRRGetMonitors(display, root, True, &count);
    for (int i = 0; monitors && i < count; ++i) {
        const XRRMonitorInfo& m = monitors[i];
        if (m.primary) list.primary = list.count;
        Add(list, m.x, m.y, m.width, m.height);
    }
    if (monitors) XRRFreeMonitors(monitors);
    return list;
}

MonitorList XineramaMonitors(Display* display)
{
    MonitorList list = {};
    int event = 0, error = 0, count = 0;
    if (!XineramaQueryExtension(display, &event, &error) || !XineramaIsActive(display)) return list;
    XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
    for (int i = 0; screens && i < count; ++i)
        Add(list, screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height);
    if (screens) XFree(screens);
    return list;
}

}  // namespace

MonitorList FindMonitors(Display* display, Window root, const ScreenRect& screen)
{
    MonitorList list = RandrMonitors(display, root);
    const MonitorList xinerama = XineramaMonitors(display);
    if (xinerama.count > list.count) list = xinerama;
    if (list.count == 0) list.monitors[list.count++] = screen;
    return list;
}
