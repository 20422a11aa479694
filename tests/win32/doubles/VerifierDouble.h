// The stand-in for the platform's "PASSWORD.CPL" (PlatformLibraryDoubles.cpp).
// In-process, through the exported record "VerifierDouble": "VerifyScreenSavePwd"
// calls duringCall (if set) with the call's number from 1, counts its calls and
// answers script[] in order, the last one repeating (accepting when empty).
// From outside, through the environment: EMBRIX_PROBE_LOG names a file that
// gets "<pid> <event> running=<saver-running state as the process sees it>"
// for the events attach, "verify fault", unload (freed) and exit (the
// process's end); EMBRIX_PROBE_ANSWER=fault pins the library and makes an
// access violation inside the call.
#pragma once
#include <windows.h>

struct VerifierDoubleRecord {
    BOOL script[16];
    LONG scriptCount, callCount;
    void(WINAPI* duringCall)(HWND window, LONG call);
};
