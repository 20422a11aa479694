// Where the fire goes when the hack draws on the root window itself: the
// primary monitor, as on Windows.
#pragma once
#include <X11/Xlib.h>

#include "fire/ScreenLayout.h"

// RandR's primary output, else the first Xinerama screen, else screen (the
// whole root window), in the root window's coordinates.
ScreenRect FireAreaOnRoot(Display* display, Window root, const ScreenRect& screen);
