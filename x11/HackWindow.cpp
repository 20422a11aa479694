#include "x11/HackWindow.h"

#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace {

Window CreateOwnWindow(Display* display)
{
    const int screen = DefaultScreen(display);
    const unsigned long black = BlackPixel(display, screen);
    const Window window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 800, 600, 0, black, black);
    XStoreName(display, window, "Embrix");
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XMapWindow(display, window);
    return window;
}

}  // namespace

HackWindowChoice ChooseHackWindow(Display* display, const HackOptions& options)
{
    HackWindowChoice choice = {None, HackWindowKind::Given};
    const Window root = DefaultRootWindow(display);
    uint32_t id = options.windowId;
    const char* given = std::getenv("XSCREENSAVER_WINDOW");
    switch (options.target) {
    case HackTarget::OwnWindow:
        choice.window = CreateOwnWindow(display);
        choice.kind = HackWindowKind::Own;
        return choice;
    case HackTarget::Root:
        if (given && *given) {
            if (!ParseWindowId(given, id)) {
                std::fprintf(stderr, "embrix: XSCREENSAVER_WINDOW is no window id: \"%s\"\n",
                             given);
                return choice;
            }
            choice.kind = HackWindowKind::Daemon;
        } else {
            id = static_cast<uint32_t>(root);
        }
        break;
    case HackTarget::WindowId:
        break;
    }
    choice.window = id;
    if (id == root) choice.kind = HackWindowKind::Root;
    return choice;
}
