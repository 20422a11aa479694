// The end of every saver window message: input becomes a close request, the
// password is asked before a close, everything else goes to DefWindowProcA.
#pragma once
#include <windows.h>

LRESULT CALLBACK DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
