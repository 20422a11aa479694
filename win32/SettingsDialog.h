// The modal settings dialog (template 2003).
#pragma once
#include <windows.h>

// Shows the four fire settings on WM_INITDIALOG and stores them on OK.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Non-zero when the window classes the dialog needs are ready.
BOOL WINAPI RegisterDialogControls(HINSTANCE instance);
