// A stand-in for the platform's "MPR.DLL". Each "PwdChangePasswordA" call
// appends "<provider> <owner handle in decimal> <third> <fourth>\n", e.g.
// "SCRSAVE 65602 0 0", to the file EMBRIX_MPR_DOUBLE_LOG names. Built without
// EMBRIX_DOUBLE_ENTRY it lacks the entry.
#include "doubles/DoubleLog.h"

#ifdef EMBRIX_DOUBLE_ENTRY
extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD third, DWORD fourth)
{
    char line[160];
    wsprintfA(line, "%s %lu %lu %lu\n", provider ? provider : "(null)",
              static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)),
              static_cast<unsigned long>(third), static_cast<unsigned long>(fourth));
    AppendToDoubleLog("EMBRIX_MPR_DOUBLE_LOG", line);
    return ERROR_SUCCESS;
}
#endif
