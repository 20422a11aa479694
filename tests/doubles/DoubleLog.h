// Appends lines to a file named by an environment variable, for tests that
// watch a double from another process.
#pragma once
#include <windows.h>

// Appends text to the file named by variable; nothing when it is unset.
void AppendToDoubleLog(const char* variable, const char* text);

// Writes value in decimal into text (room for 24 bytes); returns the end.
char* AppendDecimal(char* text, ULONG_PTR value);
