// The fire in an X window: the process-wide record, and the frame, as the
// Windows saver's window procedure runs it on its timer.
#pragma once
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <csignal>

#include "fire/Fire.h"
#include "x11/HackWindow.h"

// One fire's picture as the server gets it.
struct HackPicture {
    // At the fire's placed size; none when the grid is empty.
    XImage* image;
    int32_t* columnOf;  // stretched: the grid column each image column shows
    XShmSegmentInfo shm;
    bool shared;  // image lives in shared memory, sent by XShmPutImage
};

struct HackFireRecord {
    Display* display;
    Window window;
    HackWindowKind kind;
    Visual* visual;
    int depth;
    GC gc;
    unsigned long pixelOf[256];  // palette index -> the visual's pixel value
    int32_t windowWidth, windowHeight;
    FireSettingsRecord settings;
    Fire fires[MaxFires];  // one a monitor on the root window, else one
    HackPicture pictures[MaxFires];
    int32_t fireCount;
    bool eraseWindow;   // paint the window black before the next pictures
    Atom deleteWindow;  // WM_DELETE_WINDOW, the window manager's close
};

extern HackFireRecord HackFire;

// Set by SIGTERM, SIGINT or the window manager's close; the run loop ends.
extern volatile std::sig_atomic_t HackStopRequested;

// For window (whose events this client may select) with settings: the
// colours, the fires as kind places them, and their images. False with a
// message on standard error when the window is unusable (not TrueColor).
bool CreateHackFire(Display* display, Window window, HackWindowKind kind,
                    const FireSettingsRecord& settings);

// One frame: the window's events (expose, resize, close), then each fire's
// frame and the rows it changed sent to the window.
void DrawHackFrame();

// Frees what CreateHackFire and the frames made; the display stays open.
void DestroyHackFire();
