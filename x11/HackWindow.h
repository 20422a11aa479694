// The window the hack draws in, chosen as XScreenSaver's hacks choose it.
#pragma once
#include <X11/Xlib.h>

#include "x11/HackOptions.h"

struct HackWindowChoice {
    Window window;      // None when the choice failed (message on standard error)
    bool ownWindow;     // made here, destroyed at the end
    bool onRootWindow;  // the root window itself
};

// --root: $XSCREENSAVER_WINDOW (decimal or 0x hex), else the root window;
// --window-id: that window; neither: a mapped window of our own.
HackWindowChoice ChooseHackWindow(Display* display, const HackOptions& options);
