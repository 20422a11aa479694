// The platform's password services: the verifier asked before a close, and
// the password change of the "A" mode.
#pragma once
#include <windows.h>

constexpr DWORD VerifyInterval = 200;  // ms from one verifier run's end to the next start

// "PwdChangePasswordA": provider key, owner window, two reserved zeros.
typedef DWORD(WINAPI* ChangePasswordEntry)(LPCSTR provider, HWND owner, DWORD reserved1,
                                           DWORD reserved2);

// Loads "PASSWORD.CPL" when "ScreenSaveUsePassword" asks for a password.
void LoadPasswordVerifier();

// Frees the verifier and lowers the saver-running state it raised.
void UnloadPasswordVerifier();

// Non-zero when the window may close now.
LRESULT VerifyBeforeClose(HWND window);

// later - earlier in unsigned 32-bit arithmetic, right across the wrap.
DWORD TickDifference(DWORD earlier, DWORD later);

// "PwdChangePasswordA" of "MPR.DLL" with "SCRSAVE", owner, 0, 0.
void ChangeSaverPassword(HWND owner);
