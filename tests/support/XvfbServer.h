// A private X server for the X11 tests, and the hack started on it.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

struct XvfbServer {
    pid_t pid = -1;
    std::string display;  // ":N"; empty when the server did not start
};

// screen as Xvfb takes it ("320x240x24"); without MIT-SHM when asked.
XvfbServer StartXvfb(const char* screen, bool sharedMemory);
void StopXvfb(XvfbServer& server);

// The built hack with args on display (and XSCREENSAVER_WINDOW when given);
// its standard error goes to *errors when errors is not null.
pid_t StartHack(const std::vector<std::string>& args, const std::string& display,
                const std::string& saverWindow, int* errors);

// The hack's exit status, or -1 when it did not exit normally.
int WaitForExit(pid_t pid);
