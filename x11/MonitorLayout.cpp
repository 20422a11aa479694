#include "x11/MonitorLayout.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace {

bool RandrPrimary(Display* display, Window root, ScreenRect& primary)
{
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor) ||
        major * 100 + minor < 103)
        return false;
    const RROutput output = XRRGetOutputPrimary(display, root);
    if (output == None) return false;
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (!resources) return false;
    bool found = false;
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, output);
    if (info && info->crtc != None) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, info->crtc);
        if (crtc && crtc->width > 0 && crtc->height > 0) {
            primary = {crtc->x, crtc->y, crtc->x + static_cast<int32_t>(crtc->width),
                       crtc->y + static_cast<int32_t>(crtc->height)};
            found = true;
        }
        if (crtc) XRRFreeCrtcInfo(crtc);
    }
    if (info) XRRFreeOutputInfo(info);
    XRRFreeScreenResources(resources);
    return found;
}

bool FirstXineramaScreen(Display* display, ScreenRect& primary)
{
    int event = 0, error = 0, count = 0;
    if (!XineramaQueryExtension(display, &event, &error) || !XineramaIsActive(display))
        return false;
    XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
    if (!screens) return false;
    if (count > 0) {
        const XineramaScreenInfo& s = screens[0];
        primary = {s.x_org, s.y_org, s.x_org + s.width, s.y_org + s.height};
    }
    XFree(screens);
    return count > 0;
}

}  // namespace

ScreenRect FireAreaOnRoot(Display* display, Window root, const ScreenRect& screen)
{
    ScreenRect primary = screen;
    if (!RandrPrimary(display, root, primary)) FirstXineramaScreen(display, primary);
    return LayOutFullScreen(screen, primary).fire;
}
