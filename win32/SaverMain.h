// Start-up and mode dispatch: one mode per process, inside one guard.
#pragma once
#include <windows.h>

// The process's work after the program path is cut off; returns the exit code.
int WINAPI SaverMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandTail,
                     int showCommand);

// -1 unless text names an existing window, else the preview's exit code.
int RunPreview(const char* text);

// The settings dialog: 1 after OK, 0 after Cancel, -1 when it cannot be made.
int RunConfigure(HWND owner);

// Password change owned by the window text names, else the foreground window.
int RunChangePassword(const char* text);
