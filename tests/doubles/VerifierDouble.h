// The stand-in for the platform's "PASSWORD.CPL" (PlatformLibraryDoubles.cpp).
// In-process, through the entries below: "VerifyScreenSavePwd" answers as
// scripted (accepting when nothing is) and counts its calls.
// From outside, through the environment: EMBRIX_PROBE_LOG names a file that
// gets "<pid> <event> running=<saver-running state as the process sees it>"
// for the events attach, "verify <accept|refuse|fault>", unload (freed) and
// exit (the process's end); EMBRIX_PROBE_ANSWER=fault makes an access
// violation inside the call; EMBRIX_PROBE_STAY=1 pins the library, so that
// it sees the process's end.
#pragma once
#include <windows.h>

// Called inside each verifier call before it answers; call counts from 1.
typedef void(WINAPI* VerifierDuringCall)(HWND window, LONG call);
typedef void(WINAPI* VerifierDoubleResetEntry)();  // forgets calls, script and hook
// Answers for the next calls in order; the last one repeats. At most 16.
typedef void(WINAPI* VerifierDoubleScriptEntry)(const BOOL* answers, LONG count);
typedef void(WINAPI* VerifierDoubleDuringCallEntry)(VerifierDuringCall hook);
typedef LONG(WINAPI* VerifierDoubleCallCountEntry)();
