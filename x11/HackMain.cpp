// embrix: the fire as an XScreenSaver hack. Runs until SIGTERM or SIGINT
// (or the close of its own window), then frees what it made and exits 0.
#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>

#include "x11/HackFire.h"
#include "x11/HackOptions.h"
#include "x11/HackWindow.h"

namespace {

void RequestStop(int)
{
    HackStopRequested = 1;
}

// Without SA_RESTART, so that the signal also cuts the wait for the next frame short.
void CatchStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void AddMicroseconds(timespec& t, int32_t microseconds)
{
    t.tv_nsec += static_cast<long>(microseconds % 1000000) * 1000;
    t.tv_sec += microseconds / 1000000 + t.tv_nsec / 1000000000;
    t.tv_nsec %= 1000000000;
}

bool Before(const timespec& a, const timespec& b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// Frames at a steady pace from a monotonic clock; one that ran late starts
// the pace anew rather than hurrying to catch up.
void RunFrames(const HackOptions& options)
{
    timespec due;
    clock_gettime(CLOCK_MONOTONIC, &due);
    for (int32_t frame = 0; !HackStopRequested; ++frame) {
        if (options.frames > 0 && frame == options.frames) break;
        DrawHackFrame();
        AddMicroseconds(due, options.delay);
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (Before(due, now)) due = now;
        while (!HackStopRequested &&
               clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    HackOptions options;
    std::string error;
    if (!ParseHackOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    CatchStopSignals();
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "embrix: cannot open display \"%s\"\n", XDisplayName(nullptr));
        return 1;
    }
    const HackWindowChoice choice = ChooseHackWindow(display, options);
    const bool created = choice.window != None &&
                         CreateHackFire(display, choice.window, choice.kind, options.settings);
    if (created) RunFrames(options);
    DestroyHackFire();
    if (choice.kind == HackWindowKind::Own) XDestroyWindow(display, choice.window);
    XCloseDisplay(display);
    return created ? 0 : 1;
}
