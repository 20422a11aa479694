// A stand-in for the platform's "PASSWORD.CPL". Its "VerifyScreenSavePwd"
// answers as a test in the same process scripted (VerifierDoubleScript), and
// accepts when nothing was scripted, so a forgotten set-up never keeps a saver
// up. Each call is recorded (window, tick on entry). The record lives as long
// as the library stays loaded. A test reaches the extra entries with
// GetProcAddress on GetModuleHandleA("PASSWORD.CPL").
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
