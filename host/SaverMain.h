// Start-up and mode dispatch: one mode per process, inside one guard.
#pragma once
#include <windows.h>

int WINAPI SaverMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandTail,
                     int showCommand);

int RunPreview(const char* text);
int RunConfigure(HWND owner);
int RunChangePassword(const char* text);
