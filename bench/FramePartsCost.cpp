// Where a running saver's CPU time goes, measured in this process under the
// platform: CPU time per call of the frame step (countdown, spreading and the
// copy into the picture, swap) on the product's path and on the plain
// reference, and of PresentFire, of the whole picture and of the rows that
// the product's steps changed, in a full-screen window as the saver's:
//   FramePartsCost <"Size"> <calls>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "bench/ReferenceFire.h"
#include "fire/FireColors.h"
#include "fire/Fire.h"
#include "win32/FireDrawing.h"

namespace {

constexpr int32_t FireType = 8;
constexpr int32_t NewFire = 8;

double ProcessCpuSeconds()
{
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return static_cast<double>(k.QuadPart + u.QuadPart) * 1e-7;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

template <typename Call>
double CpuMicrosecondsPerCall(Call call, int calls)
{
    const double before = ProcessCpuSeconds();
    for (int i = 0; i < calls; ++i) call();
    GdiFlush();
    const double perCall = (ProcessCpuSeconds() - before) / calls * 1e6;
    PumpMessages();
    return perCall;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: FramePartsCost <Size> <calls>\n");
        return 2;
    }
    const int32_t size = std::atoi(argv[1]);
    const int calls = std::atoi(argv[2]);
    if (size < 1 || calls < 1) return 2;

    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "FramePartsCost";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "FramePartsCost", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) return 1;
    PumpMessages();

    RECT client;
    GetClientRect(window, &client);
    FireColorRamp ramp;
    BuildFireColorRamp(ramp);
    HPALETTE palette = BuildFirePalette(ramp);
    FirePictureFormat format;
    BuildPictureFormat(format, ramp);
    Fire fire;
    CreateFire(fire, {0, 0, client.right, client.bottom}, {size, 0, NewFire, FireType}, 1);
    if (!fire.surface) return 1;
    ReferenceClock clock = {1, 0};
    HDC dc = GetDC(window);
    SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);

    int32_t changedFrom = 0;
    auto productStep = [&] { changedFrom = RunFireFrame(fire); };
    auto plainStep = [&] { RunReferenceFrame(fire.field, fire.surface, FireType, NewFire, clock); };
    auto presentWhole = [&] { PresentFire(dc, fire, format, 0); };
    auto presentBand = [&] { PresentFire(dc, fire, format, changedFrom); };
    for (int i = 0; i < 300; ++i) productStep();

    const double productUs = CpuMicrosecondsPerCall(productStep, calls);
    const double bandUs = CpuMicrosecondsPerCall(presentBand, calls);
    const double plainUs = CpuMicrosecondsPerCall(plainStep, calls);
    const double wholeUs = CpuMicrosecondsPerCall(presentWhole, calls);
    std::printf(
        "%4ldx%-4ld size %d  grid %dx%d  cpu us per call: product step %8.1f  "
        "plain step %8.1f  PresentFire rows %d.. %8.1f  whole %8.1f\n",
        client.right, client.bottom, size, fire.field.width, fire.field.height, productUs, plainUs,
        changedFrom, bandUs, wholeUs);

    ReleaseDC(window, dc);
    DestroyFire(fire);
    DeleteObject(palette);
    DestroyWindow(window);
    return 0;
}
