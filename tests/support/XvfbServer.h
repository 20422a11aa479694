// A private X server for the X11 tests, and the built hack started on it.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

struct XvfbServer {
    pid_t pid = -1;
    std::string display;  // ":N"; empty when the server did not start
};

// screen as Xvfb takes it ("320x240x24"); without MIT-SHM when asked. It
// keeps running as clients come and go (no reset when the last one leaves).
XvfbServer StartXvfb(const char* screen, bool sharedMemory);
void StopXvfb(XvfbServer& server);

// The built hack with args; its standard error into *errors when given.
pid_t StartHack(std::vector<std::string> args, const std::string& display, int* errors);
int WaitForExit(pid_t pid);  // the exit status; -1 when it did not exit (killed after 20 s)
