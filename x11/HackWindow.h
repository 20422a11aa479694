// The window the hack draws in, chosen as XScreenSaver's hacks choose it.
#pragma once
#include <X11/Xlib.h>

#include "x11/HackOptions.h"

// Where the window lies, which decides the fires it gets.
enum class HackWindowKind {
    Own,     // a window of our own: one fire, seed 1
    Given,   // --window-id: one fire, seed 1
    Daemon,  // $XSCREENSAVER_WINDOW, on one monitor: that monitor's fire
    Root,    // the root window itself: a fire on every monitor
};

struct HackWindowChoice {
    Window window;  // None when the choice failed (message on standard error)
    HackWindowKind kind;
};

// --root: $XSCREENSAVER_WINDOW (decimal or 0x hex), else the root window;
// --window-id: that window; neither: a mapped window of our own.
HackWindowChoice ChooseHackWindow(Display* display, const HackOptions& options);
