// The monitors of the screen, found as XScreenSaver finds them, and the
// fires that go on them.
#pragma once
#include <X11/Xlib.h>

#include "fire/ScreenLayout.h"

// The monitors looked at, at most: more than fires, so that mirrors and
// empty ones do not crowd out the rest.
constexpr int32_t MaxMonitors = 64;

struct MonitorList {
    ScreenRect monitors[MaxMonitors];  // in the root window's coordinates
    int32_t count;
    int32_t primary;
};

// RandR's monitors, or Xinerama's screens when it reports more (Xinerama's
// first is then the primary); without either, screen, the whole root.
MonitorList FindMonitors(Display* display, Window root, const ScreenRect& screen);
