// A stand-in for the platform's "PASSWORD.CPL". Its "VerifyScreenSavePwd"
// answers, in order of precedence:
//   1. the answers a test in the same process scripted (VerifierDoubleScript);
//   2. the environment variable EMBRIX_VERIFIER_DOUBLE, read at every call:
//      "accept" returns 1, "refuse" returns 0, "fault" writes through a null
//      pointer inside the call (an access violation);
//   3. otherwise it accepts, so a forgotten set-up never keeps a saver up.
// Each call is recorded (window, tick on entry) for in-process readers and,
// when EMBRIX_VERIFIER_DOUBLE_LOG names a file, appended to it as the line
//   "VerifyScreenSavePwd <window handle in decimal> <accept|refuse|fault>"
// before the double answers or faults. The record lives as long as the library
// stays loaded. A test reaches the extra entries with GetProcAddress on
// GetModuleHandleA("PASSWORD.CPL").
#pragma once
#include <windows.h>

// Called inside each verifier call before it answers; call counts from 1.
typedef void(WINAPI* VerifierDuringCall)(HWND window, LONG call);

typedef BOOL(WINAPI* VerifierDoubleVerifyEntry)(HWND window);
// Forgets the calls, the script and the hook.
typedef void(WINAPI* VerifierDoubleResetEntry)();
// Answers for the next calls in order; the last one repeats. At most 16.
typedef void(WINAPI* VerifierDoubleScriptEntry)(const BOOL* answers, LONG count);
typedef void(WINAPI* VerifierDoubleDuringCallEntry)(VerifierDuringCall hook);
typedef LONG(WINAPI* VerifierDoubleCallCountEntry)();
// FALSE when there is no such call; index counts from 0.
typedef BOOL(WINAPI* VerifierDoubleCallAtEntry)(LONG index, HWND* window, DWORD* tick);
