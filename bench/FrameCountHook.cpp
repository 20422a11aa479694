// Loaded into the saver's process by a message hook: counts the timer
// messages its thread takes from the queue, one per frame, and on request
// notes that count with the process's own CPU time (Wine gives another
// process's times as zero), where the driver in its process can read them.
#include <windows.h>

#include "bench/FrameCountHook.h"

namespace {

struct SharedRecord {
    volatile LONG timerMessages;
    volatile LONG sampleRequested;  // the driver's request number
    volatile LONG sampleTaken;      // the request last answered
    FrameSample sample;
};

}  // namespace

// One copy for every process that maps this library.
__attribute__((section(".shared"), shared)) SharedRecord shared = {0, 0, 0, {0, 0, 0}};

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CountTimerMessages(int code, WPARAM removal, LPARAM message)
{
    if (code == HC_ACTION && removal == PM_REMOVE &&
        reinterpret_cast<const MSG*>(message)->message == WM_TIMER) {
        const LONG frames = InterlockedIncrement(&shared.timerMessages);
        const LONG requested = shared.sampleRequested;
        if (requested != shared.sampleTaken) {
            FILETIME created, ended, kernel, user;
            GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            ULARGE_INTEGER k, u;
            k.LowPart = kernel.dwLowDateTime;
            k.HighPart = kernel.dwHighDateTime;
            u.LowPart = user.dwLowDateTime;
            u.HighPart = user.dwHighDateTime;
            shared.sample.frames = frames;
            shared.sample.cpuTime = static_cast<LONGLONG>(k.QuadPart + u.QuadPart);
            shared.sample.counter = now.QuadPart;
            InterlockedExchange(&shared.sampleTaken, requested);
        }
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

extern "C" __declspec(dllexport) LONG WINAPI RequestFrameSample()
{
    return InterlockedIncrement(&shared.sampleRequested);
}

extern "C" __declspec(dllexport) BOOL WINAPI TakenFrameSample(LONG request, FrameSample* sample)
{
    if (shared.sampleTaken != request) return FALSE;
    *sample = shared.sample;
    return TRUE;
}
