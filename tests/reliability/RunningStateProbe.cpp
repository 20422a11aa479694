// A "PASSWORD.CPL" that reports the platform's saver-running state from inside
// the process that loads it. The platform keeps that state per process here,
// so only code in the saver's own process can see whether it was lowered.
//
// Every line goes to the file that EMBRIX_PROBE_LOG names:
//   "<pid> attach running=<n>"          when loaded
//   "<pid> verify running=<n> <answer>" at each VerifyScreenSavePwd call
//   "<pid> unload running=<n>"          when freed
//   "<pid> exit running=<n>"            when the process ends with it loaded
// EMBRIX_PROBE_ANSWER picks the answer: "accept" (the default), "refuse-first"
// (refuses the first call, accepts the rest) or "fault" (an access violation
// inside the call). With EMBRIX_PROBE_STAY=1, the library pins itself, so
// that it sees the state at the very end of the process.
// Built without RUNNING_STATE_PROBE_ENTRY it lacks the entry and only logs.
#include <windows.h>

#include "doubles/DoubleLog.h"

#ifndef SPI_GETSCREENSAVERRUNNING
#define SPI_GETSCREENSAVERRUNNING 114
#endif

namespace {

BOOL SaverRunning()
{
    BOOL running = 2;  // neither answer: shows a call that wrote nothing
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}

char* AppendText(char* at, const char* text)
{
    while (*text) *at++ = *text++;
    *at = '\0';
    return at;
}

void Log(const char* event, const char* detail)
{
    char line[128];
    char* at = AppendDecimal(line, GetCurrentProcessId());
    at = AppendText(at, " ");
    at = AppendText(at, event);
    at = AppendText(at, " running=");
    at = AppendDecimal(at, static_cast<ULONG_PTR>(SaverRunning()));
    if (detail) {
        at = AppendText(at, " ");
        at = AppendText(at, detail);
    }
    AppendText(at, "\r\n");
    AppendToDoubleLog("EMBRIX_PROBE_LOG", line);
}

bool EnvironmentIs(const char* name, const char* value)
{
    char text[32];
    const DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
    return length != 0 && length < sizeof text && lstrcmpiA(text, value) == 0;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        Log("attach", nullptr);
        if (EnvironmentIs("EMBRIX_PROBE_STAY", "1")) {
            HMODULE pinned = nullptr;
            GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                               reinterpret_cast<LPCSTR>(self), &pinned);
        }
    } else if (reason == DLL_PROCESS_DETACH) {
        // A null reserved pointer means FreeLibrary, anything else the
        // process's end.
        Log(reserved ? "exit" : "unload", nullptr);
    }
    return TRUE;
}

#ifdef RUNNING_STATE_PROBE_ENTRY
BOOL WINAPI VerifyScreenSavePwd(HWND)
{
    static LONG callCount = 0;
    const LONG call = ++callCount;
    if (EnvironmentIs("EMBRIX_PROBE_ANSWER", "fault")) {
        Log("verify", "fault");
        // Through a volatile pointer, so the compiler cannot see the null.
        volatile LONG* volatile nowhere = nullptr;
        *nowhere = call;
        return FALSE;
    }
    const bool refuse = call == 1 && EnvironmentIs("EMBRIX_PROBE_ANSWER", "refuse-first");
    Log("verify", refuse ? "refuse" : "accept");
    return refuse ? FALSE : TRUE;
}
#endif

BOOL WINAPI RunningStateProbeMarker()
{
    return TRUE;
}

}  // extern "C"
