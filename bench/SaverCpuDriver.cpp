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

#include "bench/SaverLaunch.h"

namespace {

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

    PROCESS_INFORMATION saverProcess = {};
    if (!StartFullScreenSaver(saver, saverProcess)) return Fail("the saver did not start");
    HWND window = WaitForSaverWindow(saverProcess);
    const FrameCounter counter =
        window ? StartCountingFrames(saverProcess.dwThreadId) : FrameCounter{};
    int result = 0;
    if (!counter.hook) {
        result = Fail(window ? "no hook on the saver's thread" : "no saver window");
    } else {
        // The hook library loads at the saver's next message; the first
        // frames also fault in the grids and the surface.
        Sleep(1500);
        FrameSample first = {}, last = {};
        const bool sampled = TakeFrameSample(counter, first);
        Sleep(static_cast<DWORD>(seconds) * 1000);
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        RECT client = {};
        GetClientRect(window, &client);
        if (!sampled || !TakeFrameSample(counter, last) || last.frames <= first.frames) {
            result = Fail("no frames counted");
        } else {
            const double frames = static_cast<double>(last.frames - first.frames);
            const double cpu = static_cast<double>(last.cpuTime - first.cpuTime) * 1e-7;
            const double wall = static_cast<double>(last.counter - first.counter) /
                                static_cast<double>(frequency.QuadPart);
            std::printf(
                "%-8s %4ldx%-4ld size %s  frames %6.0f  fps %6.1f  cpu %% %6.1f  "
                "cpu us/frame %8.1f\n",
                argv[4], client.right, client.bottom, argv[2], frames, frames / wall,
                100.0 * cpu / wall, 1e6 * cpu / frames);
        }
        UnhookWindowsHookEx(counter.hook);
    }
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(saverProcess.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(saverProcess.hProcess, 1);
    }
    CloseHandle(saverProcess.hThread);
    CloseHandle(saverProcess.hProcess);
    return result;
}
