// A stand-in for the platform's "MPR.DLL" that only records
// "PwdChangePasswordA" calls: for in-process readers through
// MprDoubleCallCount / MprDoubleLastCall (hold your own LoadLibraryA reference,
// or the record goes with the library), and for other processes as the line
//   "<provider> <owner handle in decimal> <third> <fourth>"   e.g. "SCRSAVE 65602 0 0"
// appended to the file named by EMBRIX_MPR_DOUBLE_LOG.
#pragma once
#include <windows.h>

typedef LONG(WINAPI* MprDoubleCallCountEntry)();
// FALSE before the first call; the provider text is cut to fit.
typedef BOOL(WINAPI* MprDoubleLastCallEntry)(char* provider, DWORD providerSize, HWND* owner,
                                             DWORD* third, DWORD* fourth);
