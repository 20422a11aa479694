// The saver window's class procedure: what every saver needs before the
// effect sees a message.
#pragma once
#include <windows.h>

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
