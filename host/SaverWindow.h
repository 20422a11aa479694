// The saver window in its full-screen or preview form, and its message loop.
#pragma once
#include <windows.h>

extern const char SaverClassName[];    // "WindowsScreenSaverClass"
extern const char FullScreenTitle[];   // "Screen Saver"
extern const char PreviewTitle[];      // "Preview"

// Full screen without a parent, a preview inside parent otherwise; returns
// the exit code of the message loop.
int RunSaverWindow(HWND parent);
