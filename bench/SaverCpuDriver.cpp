// Runs a saver full screen and reports its process's CPU time per frame over a
// counted run, beside the frame rate the platform delivers:
//   SaverCpuDriver <saver.scr> <"Size"> <seconds> <label>
// Frames are the timer messages the saver's thread takes and CPU time is the
// saver process's user and kernel time, both noted in that process by
// FrameCountHook.dll (beside this program) at the same timer message.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/FrameCountHook.h"

namespace {

// Frames and CPU time at one timer message of the saver; false if no sample
// came within a few seconds.
bool TakeSample(RequestFrameSampleFunction request, TakenFrameSampleFunction taken,
                FrameSample& sample)
{
    const LONG number = request();
    for (int i = 0; i < 500; ++i) {
        if (taken(number, &sample)) return true;
        Sleep(10);
    }
    return false;
}

HWND WaitForSaverWindow(DWORD processId)
{
    for (int i = 0; i < 200; ++i) {
        HWND window = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
        DWORD owner = 0;
        if (window) GetWindowThreadProcessId(window, &owner);
        if (window && owner == processId) return window;
        Sleep(50);
    }
    return nullptr;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "SaverCpuDriver: %s (error %lu)\n", what, GetLastError());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: SaverCpuDriver <saver.scr> <Size> <seconds> <label>\n");
        return 2;
    }
    const std::string saver = argv[1];
    const int seconds = std::atoi(argv[3]);
    WritePrivateProfileStringA("Screen Saver.Embrix", "Size", argv[2], "control.ini");
    WritePrivateProfileStringA("Screen Saver.Embrix", "Scaling", "0", "control.ini");

    HMODULE hook = LoadLibraryA("FrameCountHook.dll");
    if (!hook) return Fail("no FrameCountHook.dll");
    const auto hookProcedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(hook, "CountTimerMessages")));
    const auto request = reinterpret_cast<RequestFrameSampleFunction>(
        reinterpret_cast<void*>(GetProcAddress(hook, "RequestFrameSample")));
    const auto taken = reinterpret_cast<TakenFrameSampleFunction>(
        reinterpret_cast<void*>(GetProcAddress(hook, "TakenFrameSample")));
    if (!hookProcedure || !request || !taken) return Fail("hook library without its entries");

    std::string commandLine = "\"" + saver + "\" /s";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saverProcess = {};
    if (!CreateProcessA(saver.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &saverProcess)) {
        return Fail("the saver did not start");
    }
    HWND window = WaitForSaverWindow(saverProcess.dwProcessId);
    HHOOK counting = window ? SetWindowsHookExA(WH_GETMESSAGE, hookProcedure, hook,
                                                saverProcess.dwThreadId)
                            : nullptr;
    int result = 0;
    if (!counting) {
        result = Fail(window ? "no hook on the saver's thread" : "no saver window");
    } else {
        // The hook library loads at the saver's next message; the first
        // frames also fault in the grids and the surface.
        Sleep(1500);
        FrameSample first = {}, last = {};
        const bool sampled = TakeSample(request, taken, first);
        Sleep(static_cast<DWORD>(seconds) * 1000);
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        RECT client = {};
        GetClientRect(window, &client);
        if (!sampled || !TakeSample(request, taken, last) || last.frames <= first.frames) {
            result = Fail("no frames counted");
        } else {
            const double frames = static_cast<double>(last.frames - first.frames);
            const double cpu = static_cast<double>(last.cpuTime - first.cpuTime) * 1e-7;
            const double wall = static_cast<double>(last.counter - first.counter) /
                                static_cast<double>(frequency.QuadPart);
            std::printf("%-8s %4ldx%-4ld size %s  frames %6.0f  fps %6.1f  cpu %% %6.1f  "
                        "cpu us/frame %8.1f\n",
                        argv[4], client.right, client.bottom, argv[2], frames, frames / wall,
                        100.0 * cpu / wall, 1e6 * cpu / frames);
        }
        UnhookWindowsHookEx(counting);
    }
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(saverProcess.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(saverProcess.hProcess, 1);
    }
    CloseHandle(saverProcess.hThread);
    CloseHandle(saverProcess.hProcess);
    return result;
}
