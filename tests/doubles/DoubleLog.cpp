#include "DoubleLog.h"

void AppendToDoubleLog(const char* variable, const char* text)
{
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(variable, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text, lstrlenA(text), &written, nullptr);
    // Closed at once: the caller may be about to fault.
    CloseHandle(file);
}

char* AppendDecimal(char* text, ULONG_PTR value)
{
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        *text++ = digits[--count];
    *text = '\0';
    return text;
}
