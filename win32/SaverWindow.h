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

// The monitors looked at, at most: more than fires, so that mirrors and
// empty ones do not crowd out the rest.
constexpr int32_t MaxMonitors = 64;

// The full-screen window over every monitor, a fire on each, from the
// platform's monitors and screen metrics.
SaverLayout FullScreenLayout();
