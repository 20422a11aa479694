// A stand-in for the platform's "PASSWORD.CPL" (VerifierDouble.cpp), for
// tests in the process that loads it and for tests of a saver in another.
//
// In-process (entries below, through GetProcAddress): "VerifyScreenSavePwd"
// answers as scripted, accepting when nothing is, and records each call
// (window, tick on entry) while the library stays loaded.
//
// From outside, through the environment:
//   EMBRIX_PROBE_LOG names a file that gets, with the platform's saver-running
//   state as the process sees it,
//     "<pid> attach running=<n>"                        when loaded
//     "<pid> verify running=<n> <accept|refuse|fault>"  at each call
//     "<pid> unload running=<n>"                        when freed
//     "<pid> exit running=<n>"                          at the process's end
//   EMBRIX_PROBE_ANSWER "refuse-first" refuses the first call and accepts the
//   rest, "fault" makes an access violation inside the call; otherwise the
//   script decides.
//   EMBRIX_PROBE_STAY=1 pins the library, so that it sees the process's end.
// Built without EMBRIX_DOUBLE_ENTRY it lacks "VerifyScreenSavePwd".
#pragma once
#include <windows.h>

// Called inside each verifier call before it answers; call counts from 1.
typedef void(WINAPI* VerifierDuringCall)(HWND window, LONG call);
// Forgets the calls, the script and the hook.
typedef void(WINAPI* VerifierDoubleResetEntry)();
// Answers for the next calls in order; the last one repeats. At most 16.
typedef void(WINAPI* VerifierDoubleScriptEntry)(const BOOL* answers, LONG count);
typedef void(WINAPI* VerifierDoubleDuringCallEntry)(VerifierDuringCall hook);
typedef LONG(WINAPI* VerifierDoubleCallCountEntry)();
// FALSE when there is no such call; index counts from 0.
typedef BOOL(WINAPI* VerifierDoubleCallAtEntry)(LONG index, HWND* window, DWORD* tick);
