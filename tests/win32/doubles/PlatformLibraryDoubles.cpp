// "PASSWORD.CPL" (VerifierDouble.h) and, with EMBRIX_MPR_DOUBLE, "MPR.DLL",
// which logs "<provider> <owner> <third> <fourth>" to EMBRIX_MPR_DOUBLE_LOG;
// without EMBRIX_DOUBLE_ENTRY neither has its entry.
#include "win32/doubles/VerifierDouble.h"

#define EXPORT extern "C" __declspec(dllexport)

extern "C" {
__declspec(dllexport) VerifierDoubleRecord VerifierDouble;
}

namespace {

void AppendToLog(const char* variable, const char* text)
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

void Log(const char* event)
{
    BOOL running = 2;  // neither answer: shows a call that wrote nothing
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    char line[128];
    wsprintfA(line, "%lu %s running=%d\r\n", static_cast<unsigned long>(GetCurrentProcessId()),
              event, running);
    AppendToLog("EMBRIX_PROBE_LOG", line);
}

bool EnvironmentIs(const char* name, const char* value)
{
    char text[32];
    const DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
    return length != 0 && length < sizeof text && lstrcmpiA(text, value) == 0;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        Log("attach");
        HMODULE pinned = nullptr;  // so that a faulting one sees the process's end
        if (EnvironmentIs("EMBRIX_PROBE_ANSWER", "fault"))
            GetModuleHandleExA(
                GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                reinterpret_cast<LPCSTR>(self), &pinned);
    } else if (reason == DLL_PROCESS_DETACH) {
        Log(reserved ? "exit" : "unload");  // null: FreeLibrary
    }
    return TRUE;
}

#if defined(EMBRIX_MPR_DOUBLE) && defined(EMBRIX_DOUBLE_ENTRY)
EXPORT DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD third, DWORD fourth)
{
    char line[160];
    wsprintfA(line, "%s %lu %lu %lu\n", provider ? provider : "(null)",
              static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)),
              static_cast<unsigned long>(third), static_cast<unsigned long>(fourth));
    AppendToLog("EMBRIX_MPR_DOUBLE_LOG", line);
    return ERROR_SUCCESS;
}
#elif defined(EMBRIX_DOUBLE_ENTRY)
EXPORT BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    const LONG call = ++VerifierDouble.callCount;
    if (VerifierDouble.duringCall) VerifierDouble.duringCall(window, call);
    if (EnvironmentIs("EMBRIX_PROBE_ANSWER", "fault")) {
        Log("verify fault");
        volatile LONG* volatile nowhere = nullptr;  // the compiler cannot see the null
        *nowhere = call;
        return FALSE;
    }
    const LONG last = VerifierDouble.scriptCount - 1;
    return last < 0 || VerifierDouble.script[call - 1 < last ? call - 1 : last];
}
#endif
