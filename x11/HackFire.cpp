#include "x11/HackFire.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "fire/FireFrameStep.h"
#include "fire/FireSettings.h"
#include "x11/FireImage.h"
#include "x11/MonitorLayout.h"

HackFireRecord HackFire;
volatile std::sig_atomic_t HackStopRequested = 0;

namespace {

// An 8-bit channel at the place and width of mask.
unsigned long ChannelPixel(uint8_t value, unsigned long mask)
{
    if (mask == 0) return 0;
    int shift = 0, bits = 0;
    while (!((mask >> shift) & 1)) ++shift;
    while ((mask >> (shift + bits)) & 1) ++bits;
    const unsigned long scaled = bits >= 8 ? static_cast<unsigned long>(value) << (bits - 8)
                                           : static_cast<unsigned long>(value) >> (8 - bits);
    return (scaled << shift) & mask;
}

// Each palette index as the ramp's colour; the statics stay black, as on a
// display without a palette.
void BuildPixelValues()
{
    HackFireRecord& fire = HackFire;
    FireColorRamp ramp;
    BuildFireColorRamp(ramp);
    MergeFirePalette(ramp, FirePalette, FireColorCount);
    for (int i = 0; i < 256; ++i) {
        const RampColor& c = ramp.entries[i];
        fire.pixelOf[i] = ChannelPixel(c.red, fire.visual->red_mask) |
                          ChannelPixel(c.green, fire.visual->green_mask) |
                          ChannelPixel(c.blue, fire.visual->blue_mask);
    }
}

// Grids, surface and image for the window's present size, the fire rising
// from black on a black window.
void CreateFireGrids()
{
    HackFireRecord& fire = HackFire;
    ScreenRect area = {0, 0, fire.windowWidth, fire.windowHeight};
    if (fire.onRootWindow) area = FireAreaOnRoot(fire.display, fire.window, area);
    const int32_t size = FireGridDivisor(FireSettings.size);
    FireField& field = fire.field;
    field = FireField();
    field.width = (area.right - area.left) / size;
    field.height = (area.bottom - area.top) / size;
    const size_t cells = static_cast<size_t>(field.width) * static_cast<size_t>(field.height);
    field.next = static_cast<uint8_t*>(std::calloc(cells, 1));
    field.current = static_cast<uint8_t*>(std::calloc(cells, 1));
    const size_t surfaceBytes =
        static_cast<size_t>(SurfaceStride(field.width)) * static_cast<size_t>(field.height);
    fire.surface = static_cast<uint8_t*>(std::calloc(surfaceBytes, 1));
    fire.place =
        PlaceFrame(area, field.width, field.height, FireSettings.size, FireSettings.scaling);
    CreateFireImage();
    fire.surfaceShowsCurrent = false;
    fire.presentFrom = 0;
    fire.eraseWindow = true;
}

void DestroyFireGrids()
{
    HackFireRecord& fire = HackFire;
    DestroyFireImage();
    std::free(fire.field.next);
    std::free(fire.field.current);
    std::free(fire.surface);
    fire.field = FireField();
    fire.surface = nullptr;
}

void HandleEvents()
{
    HackFireRecord& fire = HackFire;
    bool resized = false;
    while (XPending(fire.display) > 0) {
        XEvent event;
        XNextEvent(fire.display, &event);
        if (event.type == Expose && event.xexpose.window == fire.window) {
            // As WM_PAINT on Windows: the whole picture again.
            fire.eraseWindow = true;
        } else if (event.type == ConfigureNotify && event.xconfigure.window == fire.window) {
            resized |= event.xconfigure.width != fire.windowWidth ||
                       event.xconfigure.height != fire.windowHeight;
            fire.windowWidth = event.xconfigure.width;
            fire.windowHeight = event.xconfigure.height;
        } else if (event.type == ClientMessage && event.xclient.window == fire.window &&
                   static_cast<Atom>(event.xclient.data.l[0]) == fire.deleteWindow) {
            HackStopRequested = 1;
        }
    }
    if (resized) {
        DestroyFireGrids();
        CreateFireGrids();
    }
}

}  // namespace

bool CreateHackFire(Display* display, Window window, bool onRootWindow)
{
    HackFireRecord& fire = HackFire;
    fire = HackFireRecord();
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        std::fprintf(stderr, "embrix: no window 0x%lx\n", window);
        return false;
    }
    if (attributes.visual->c_class != TrueColor) {
        std::fprintf(stderr, "embrix: window 0x%lx is not TrueColor\n", window);
        return false;
    }
    fire.display = display;
    fire.window = window;
    fire.onRootWindow = onRootWindow;
    fire.visual = attributes.visual;
    fire.depth = attributes.depth;
    fire.windowWidth = attributes.width;
    fire.windowHeight = attributes.height;
    XSelectInput(display, window, ExposureMask | StructureNotifyMask);
    fire.gc = XCreateGC(display, window, 0, nullptr);
    fire.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    BuildPixelValues();
    XSetForeground(display, fire.gc, fire.pixelOf[0]);
    CreateFireGrids();
    return true;
}

void DrawHackFrame()
{
    HackFireRecord& fire = HackFire;
    HandleEvents();
    if (fire.eraseWindow) {
        XFillRectangle(fire.display, fire.window, fire.gc, 0, 0,
                       static_cast<unsigned>(fire.windowWidth),
                       static_cast<unsigned>(fire.windowHeight));
        fire.eraseWindow = false;
        fire.presentFrom = 0;
    }
    FireField& field = fire.field;
    // Whatever creation could not make, a frame must not write into.
    if (!field.next || !field.current || !fire.surface || !fire.image) {
        XFlush(fire.display);
        return;
    }
    RunNewFireCountdown(field, FireSettings.fireType, FireSettings.newFire);
    // Only the rows where the fire burns are spread, copied and sent; the
    // window already shows the rest.
    const int32_t changed = StepFireFrame(field, fire.surface, fire.surfaceShowsCurrent);
    fire.surfaceShowsCurrent = true;
    fire.presentFrom = std::min(fire.presentFrom, changed);
    PresentFireImage(fire.presentFrom);
    fire.presentFrom = field.height;
}

void DestroyHackFire()
{
    HackFireRecord& fire = HackFire;
    if (!fire.display) return;
    DestroyFireGrids();
    XFreeGC(fire.display, fire.gc);
    fire.display = nullptr;
}
