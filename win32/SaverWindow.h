// The saver window in its full-screen or preview form, and its message loop.
#pragma once
#include <windows.h>

#include "fire/ScreenLayout.h"

extern const char SaverClassName[];   // "WindowsScreenSaverClass"
extern const char FullScreenTitle[];  // "Screen Saver"
extern const char PreviewTitle[];     // "Preview"

// Full screen without a parent, a preview inside parent otherwise; returns
// the exit code of the message loop.
int RunSaverWindow(HWND parent);

// The full-screen window over every monitor, the fire on the primary one,
// from the platform's screen metrics.
SaverLayout FullScreenLayout();
