// The host's one process-wide record and the saver-running switch.
#pragma once
#include <windows.h>
#include <imm.h>

constexpr UINT MsgVerifyPassword = 0x8000;  // WM_APP: "ask the verifier"
constexpr UINT WakeThreshold = 4;           // mouse travel that must be exceeded
#ifndef SPI_SETSCREENSAVERRUNNING
#define SPI_SETSCREENSAVERRUNNING 97
#endif

typedef BOOL(WINAPI* VerifyPasswordEntry)(HWND window);
typedef HIMC(WINAPI* AssociateContextEntry)(HWND window, HIMC context);

struct SaverHostStateRecord {
    HINSTANCE instance;
    HWND saverWindow;
    DWORD isPreview;
    DWORD closeAllowed;
    DWORD verifierActive;
    HMODULE passwordLibrary;
    VerifyPasswordEntry verifyPassword;
    HMODULE imeLibrary;
    AssociateContextEntry associateContext;
    HIMC savedInputContext;
    DWORD wakeThreshold;
    DWORD lastVerifyTick;
    POINT cursorOrigin;
};

// The start values: everything none or 0 but the threshold and the tick.
constexpr SaverHostStateRecord SaverHostStateAtStart = {
    nullptr, nullptr,       0,           0,     0, nullptr, nullptr, nullptr, nullptr,
    nullptr, WakeThreshold, 0xFFFFFFFFu, {0, 0}};

extern SaverHostStateRecord SaverHostState;

// Tells the platform whether a saver runs; the platform call's success value.
BOOL SetSaverRunning(BOOL running);
