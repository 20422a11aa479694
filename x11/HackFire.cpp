#include "x11/HackFire.h"

#include <X11/Xutil.h>

#include <cstdio>

#include "fire/FireColors.h"
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
    HackFireRecord& hack = HackFire;
    FireColorRamp ramp;
    BuildFireColorRamp(ramp);
    for (int i = 0; i < 256; ++i) {
        const FireColor& c = ramp.entries[i];
        hack.pixelOf[i] = ChannelPixel(c.red, hack.visual->red_mask) |
                          ChannelPixel(c.green, hack.visual->green_mask) |
                          ChannelPixel(c.blue, hack.visual->blue_mask);
    }
}

// On the root window, a fire on every monitor; in the daemon's window, the
// fire of the monitor it lies on; else one fire over the window.
void CreateFires()
{
    HackFireRecord& hack = HackFire;
    const ScreenRect window = {0, 0, hack.windowWidth, hack.windowHeight};
    SaverLayout layout = {window, {{window, 1}}, 1};
    if (hack.kind == HackWindowKind::Root || hack.kind == HackWindowKind::Daemon) {
        const Window root = DefaultRootWindow(hack.display);
        XWindowAttributes rootAttributes;
        XGetWindowAttributes(hack.display, root, &rootAttributes);
        const MonitorList found =
            FindMonitors(hack.display, root, {0, 0, rootAttributes.width, rootAttributes.height});
        if (hack.kind == HackWindowKind::Root) {
            layout = LayOutFullScreen(window, found.monitors, found.count, found.primary);
        } else {
            int x = 0, y = 0;
            Window child;
            XTranslateCoordinates(hack.display, hack.window, root, 0, 0, &x, &y, &child);
            const ScreenRect onRoot = {x, y, x + hack.windowWidth, y + hack.windowHeight};
            layout.fires[0].seed = MonitorSeed(found.monitors, found.count, found.primary, onRoot);
        }
    }
    for (int32_t i = 0; i < layout.fireCount; ++i) {
        CreateFire(hack.fires[i], layout.fires[i].area, hack.settings, layout.fires[i].seed);
        CreateFireImage(hack.pictures[i], hack.fires[i]);
    }
    hack.fireCount = layout.fireCount;
    hack.eraseWindow = true;
}

void DestroyFires()
{
    HackFireRecord& hack = HackFire;
    for (int32_t i = 0; i < hack.fireCount; ++i) {
        DestroyFireImage(hack.pictures[i]);
        DestroyFire(hack.fires[i]);
    }
    hack.fireCount = 0;
}

// A new size: a window's fire gets new grids and goes on with its
// generator; the root's monitors are laid out anew.
void ResizeFires()
{
    HackFireRecord& hack = HackFire;
    if (hack.kind == HackWindowKind::Root) {
        DestroyFires();
        CreateFires();
        return;
    }
    DestroyFireImage(hack.pictures[0]);
    ResizeFire(hack.fires[0], {0, 0, hack.windowWidth, hack.windowHeight});
    CreateFireImage(hack.pictures[0], hack.fires[0]);
    hack.eraseWindow = true;
}

void HandleEvents()
{
    HackFireRecord& hack = HackFire;
    bool resized = false;
    while (XPending(hack.display) > 0) {
        XEvent event;
        XNextEvent(hack.display, &event);
        if (event.type == Expose && event.xexpose.window == hack.window) {
            // As WM_PAINT on Windows: the whole picture again.
            hack.eraseWindow = true;
        } else if (event.type == ConfigureNotify && event.xconfigure.window == hack.window) {
            resized |= event.xconfigure.width != hack.windowWidth ||
                       event.xconfigure.height != hack.windowHeight;
            hack.windowWidth = event.xconfigure.width;
            hack.windowHeight = event.xconfigure.height;
        } else if (event.type == ClientMessage && event.xclient.window == hack.window &&
                   static_cast<Atom>(event.xclient.data.l[0]) == hack.deleteWindow) {
            HackStopRequested = 1;
        }
    }
    if (resized) ResizeFires();
}

}  // namespace

bool CreateHackFire(Display* display, Window window, HackWindowKind kind,
                    const FireSettingsRecord& settings)
{
    HackFireRecord& hack = HackFire;
    hack = HackFireRecord();
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        std::fprintf(stderr, "embrix: no window 0x%lx\n", window);
        return false;
    }
    if (attributes.visual->c_class != TrueColor) {
        std::fprintf(stderr, "embrix: window 0x%lx is not TrueColor\n", window);
        return false;
    }
    hack.display = display;
    hack.window = window;
    hack.kind = kind;
    hack.visual = attributes.visual;
    hack.depth = attributes.depth;
    hack.windowWidth = attributes.width;
    hack.windowHeight = attributes.height;
    hack.settings = settings;
    XSelectInput(display, window, ExposureMask | StructureNotifyMask);
    hack.gc = XCreateGC(display, window, 0, nullptr);
    hack.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    BuildPixelValues();
    XSetForeground(display, hack.gc, hack.pixelOf[0]);
    CreateFires();
    return true;
}

void DrawHackFrame()
{
    HackFireRecord& hack = HackFire;
    HandleEvents();
    if (hack.eraseWindow) {
        XFillRectangle(hack.display, hack.window, hack.gc, 0, 0,
                       static_cast<unsigned>(hack.windowWidth),
                       static_cast<unsigned>(hack.windowHeight));
        hack.eraseWindow = false;
        for (int32_t i = 0; i < hack.fireCount; ++i) ShowWholeFire(hack.fires[i]);
    }
    // Only the rows where each fire burns are spread, copied and sent; the
    // window already shows the rest.
    bool shared = false;
    for (int32_t i = 0; i < hack.fireCount; ++i) {
        HackPicture& picture = hack.pictures[i];
        if (!picture.image) continue;
        Fire& fire = hack.fires[i];
        const int32_t from = RunFireFrame(fire);
        if (from >= fire.field.height) continue;
        PresentFireImage(picture, fire, from);
        shared |= picture.shared;
    }
    // The next frame writes shared images again: the server must have read them.
    if (shared) {
        XSync(hack.display, False);
    } else {
        XFlush(hack.display);
    }
}

void DestroyHackFire()
{
    HackFireRecord& hack = HackFire;
    if (!hack.display) return;
    DestroyFires();
    XFreeGC(hack.display, hack.gc);
    hack = HackFireRecord();
}
