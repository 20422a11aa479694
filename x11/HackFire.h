// The fire in an X window: the process-wide record and the frame, as the
// Windows saver's window procedure runs them on its timer.
#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <csignal>

#include "fire/FireColors.h"
#include "fire/FireSimulation.h"
#include "fire/ScreenLayout.h"

struct HackFireRecord {
    Display* display;
    Window window;
    bool onRootWindow;  // the root window itself: the fire keeps to the primary monitor
    Visual* visual;
    int depth;
    GC gc;
    unsigned long pixelOf[256];  // palette index -> the visual's pixel value
    int32_t windowWidth, windowHeight;
    FramePlacement place;  // where the frame goes in the window
    FireField field;
    uint8_t* surface;  // field.current + FireIndexBase, SurfaceStride bytes a row
    // The frame's pixels at its placed size; none when the grid is empty.
    XImage* image;
    int32_t* columnOf;  // stretched: the grid column each image column shows
    XShmSegmentInfo shm;
    bool shared;  // image lives in shared memory, sent by XShmPutImage
    bool surfaceShowsCurrent;
    int32_t presentFrom;  // the next present draws the rows from here down
    bool eraseWindow;     // paint the window black before the next picture
    Atom deleteWindow;    // WM_DELETE_WINDOW, the window manager's close
};

extern HackFireRecord HackFire;

// Set by SIGTERM, SIGINT or the window manager's close; the run loop ends.
extern volatile std::sig_atomic_t HackStopRequested;

// For window (whose events this client may select) with FireSettings: the
// colours, the grids at the window's size and the image. False with a
// message on standard error when the window is unusable (not TrueColor).
bool CreateHackFire(Display* display, Window window, bool onRootWindow);

// One frame: the window's events (expose, resize, close), the countdown and
// step, then the changed rows sent to the window.
void DrawHackFrame();

// Frees what CreateHackFire and the frames made; the display stays open.
void DestroyHackFire();
