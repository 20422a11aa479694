// The doubles' log: text appended to the file an environment variable names,
// for tests that watch a double from another process.
#pragma once
#include <windows.h>

inline void AppendToDoubleLog(const char* variable, const char* text)
{
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(variable, path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE)  // closed at once: the caller may be about to fault
        WriteFile(file, text, lstrlenA(text), &written, nullptr), CloseHandle(file);
}
