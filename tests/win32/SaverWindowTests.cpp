// The saver window as the host runs it (RunSaverWindow), in this process.
#include <array>
#include <cstring>
#include <vector>
#include <utility>

#include "support/FirePicture.h"
#include "win32/FireSettingsFile.h"
#include "win32/FireWindowProc.h"
#include "win32/PasswordVerifier.h"
#include "win32/SaverHostState.h"
#include "win32/SaverWindow.h"
#include "support/InProcess.h"

extern "C" {
// The program's own import slots, through which the host and the effect
// reach the platform's monitors and metrics.
#ifdef _WIN64
#define IMPORT(name, decorated) __asm__("__imp_" #name)
#else
#define IMPORT(name, decorated) __asm__("__imp__" #name decorated)
#endif
extern decltype(&GetSystemMetrics) ImportedGetSystemMetrics IMPORT(GetSystemMetrics, "@4");
extern decltype(&EnumDisplayMonitors) ImportedEnumDisplayMonitors IMPORT(EnumDisplayMonitors,
                                                                         "@16");
extern decltype(&GetMonitorInfoA) ImportedGetMonitorInfoA IMPORT(GetMonitorInfoA, "@8");
}

namespace {

using HostWindow = InProcessTest;

std::pair<HWND, HIMC> restored;
HIMC WINAPI RecordAssociation(HWND window, HIMC context)
{
    restored = {window, context};
    return nullptr;
}

void ExpectTitle(HWND saver, const char* title)
{
    EXPECT_EQ(SendMessageA(saver, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
    char text[64] = {};
    GetWindowTextA(saver, text, sizeof text);
    EXPECT_STREQ(text, title);
}

// Creation takes the pointer's origin and the input context, destruction
// gives it back; any timer draws a frame until the close is allowed, paint
// none; task switches and saver commands are blocked, a close is not.
TEST_F(HostWindow, FullScreen)
{
    SetCursorPos(321, 234);
    HWND made = nullptr;
    const HIMC saved = reinterpret_cast<HIMC>(0x1234);
    const int result = RunSaverWith(nullptr, [&](HWND saver) {
        made = saver;
        EXPECT_EQ(SaverHostState.cursorOrigin.x * 1000 + SaverHostState.cursorOrigin.y, 321234);
        EXPECT_EQ(ImmGetContext(saver), nullptr) << "the window has no input context";
        SaverHostState.associateContext = RecordAssociation;  // sees the restore
        SaverHostState.savedInputContext = saved;
        ExpectTitle(saver, "Screen Saver");
        for (WPARAM command : {SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE}) {
            EXPECT_EQ(SendMessageA(saver, WM_SYSCOMMAND, command, 0), 0);
            Pump(20);
            EXPECT_TRUE(IsWindow(saver)) << std::hex << command;
        }
        KillTimer(saver, FireEffectState.timerId);
        Pump(20);
        const uint8_t* current = FireEffectState.fires[0].field.current;
        SendMessageA(saver, WM_PAINT, 0, 0);
        EXPECT_EQ(FireEffectState.fires[0].field.current, current);
        SendMessageA(saver, WM_TIMER, 77, 0);
        EXPECT_NE(FireEffectState.fires[0].field.current, current);
        SaverHostState.closeAllowed = 1;
        current = FireEffectState.fires[0].field.current;
        EXPECT_EQ(SendMessageA(saver, WM_TIMER, FrameTimerId, 0), 0);
        EXPECT_EQ(FireEffectState.fires[0].field.current, current);
        SendMessageA(saver, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(IsWindow(saver));
    });
    EXPECT_EQ(result, 0) << "the loop ends on the window's destruction";
    EXPECT_EQ(restored, std::make_pair(made, saved));
}

// No verifier either, though a password is wanted.
TEST_F(HostWindow, PreviewTitleAndHelpGoingToTheParent)
{
    SetUsePassword(true);
    RunSaverWith(parent = MakeParentWindow(152, 112), [&](HWND saver) {
        ExpectTitle(saver, "Preview");
        HELPINFO help = {sizeof help, HELPINFO_WINDOW, 0, saver, 0, {0, 0}};
        const std::pair<UINT, LPARAM> requests[] = {{WM_HELP, reinterpret_cast<LPARAM>(&help)},
                                                    {WM_CONTEXTMENU, 0x00560078}};
        for (auto [message, lParam] : requests) {
            EXPECT_EQ(SendMessageA(saver, message, 0x1234, lParam), 1);
            Pump(20);
            EXPECT_EQ(ParentMessage.hwnd, parent);
            EXPECT_EQ(ParentMessage.message, message);
            EXPECT_EQ(ParentMessage.wParam, reinterpret_cast<WPARAM>(parent));
            EXPECT_EQ(ParentMessage.lParam, lParam);
        }
    });
    EXPECT_EQ(ReadWholeFile(log), "");
}

TEST_F(HostWindow, ClassRefusedAfterTheVerifierRaisedTheState)
{
    const WNDCLASSA taken = {0,       DefWindowProcA, 0,       0,       SaverHostState.instance,
                             nullptr, nullptr,        nullptr, nullptr, SaverClassName};
    ASSERT_TRUE(RegisterClassA(&taken));
    SetUsePassword(true);
    EXPECT_EQ(RunSaverWindow(nullptr), -1) << "no window, no loop: the run says so";
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr) << "freed, which lowers the state";
    // Raised once the verifier was loaded, still so when it was freed.
    const std::string pid = std::to_string(GetCurrentProcessId());
    EXPECT_EQ(ReadWholeFile(log), pid + " attach running=0\r\n" + pid + " unload running=1\r\n");
    UnregisterClassA(SaverClassName, SaverHostState.instance);
}

TEST_F(HostWindow, RunningFullScreenSaverMeansNoVerifierForTheSecond)
{
    RunSaverWith(nullptr, [this](HWND first) {
        SetUsePassword(true);
        EXPECT_EQ(RunSaverWindow(nullptr), 0);
        EXPECT_EQ(SaverHostState.saverWindow, first);
        EXPECT_EQ(ReadWholeFile(log), "") << "no verifier loaded";
        EXPECT_EQ(SaverRunningState(), FALSE);
    });
}

// A 1920 x 1080 primary, a second monitor at (-1600, -900), answered through
// the import slots.
decltype(&GetSystemMetrics) PlatformMetrics;
int WINAPI MadeUpMetrics(int index)
{
    const int metrics[][2] = {{SM_CXSCREEN, 1920},        {SM_CYSCREEN, 1080},
                              {SM_XVIRTUALSCREEN, -1600}, {SM_YVIRTUALSCREEN, -900},
                              {SM_CXVIRTUALSCREEN, 3520}, {SM_CYVIRTUALSCREEN, 1980}};
    for (const auto& metric : metrics) {
        if (metric[0] == index) return metric[1];
    }
    return PlatformMetrics(index);
}
const RECT MadeUpMonitors[] = {{-1600, -900, 0, 0}, {0, 0, 1920, 1080}};
BOOL WINAPI EnumMadeUpMonitors(HDC, LPCRECT, MONITORENUMPROC add, LPARAM data)
{
    for (uintptr_t i = 1; i <= 2; ++i) add(reinterpret_cast<HMONITOR>(i), nullptr, nullptr, data);
    return TRUE;
}
BOOL WINAPI MadeUpMonitorInfo(HMONITOR monitor, LPMONITORINFO info)
{
    const uintptr_t i = reinterpret_cast<uintptr_t>(monitor);
    info->rcMonitor = info->rcWork = MadeUpMonitors[i - 1];
    info->dwFlags = i == 2 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

template <typename Entry>
void Put(Entry& slot, Entry entry)
{
    DWORD was = 0;
    VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &was);
    slot = entry;
}

using FireWindow = InProcessTest;

TEST_F(FireWindow, FullScreenOverMonitorsLeftOfAndAboveThePrimary)
{
    PlatformMetrics = ImportedGetSystemMetrics;
    const auto platformMonitors = ImportedEnumDisplayMonitors;
    const auto platformInfo = ImportedGetMonitorInfoA;
    Put(ImportedGetSystemMetrics, MadeUpMetrics);
    Put(ImportedEnumDisplayMonitors, EnumMadeUpMonitors);
    Put(ImportedGetMonitorInfoA, MadeUpMonitorInfo);
    RECT placed = {};
    std::vector<std::array<int32_t, 4>> fires;
    RunSaverWith(nullptr, [&](HWND saver) {
        GetWindowRect(saver, &placed);
        for (int32_t i = 0; i < FireEffectState.fireCount; ++i) {
            const Fire& f = FireEffectState.fires[i];
            fires.push_back({f.place.x, f.place.y, f.place.width, f.place.height});
        }
    });
    Put(ImportedGetSystemMetrics, PlatformMetrics);
    Put(ImportedEnumDisplayMonitors, platformMonitors);
    Put(ImportedGetMonitorInfoA, platformInfo);
    const RECT covered = {-1600, -900, 1920, 1080};
    EXPECT_TRUE(EqualRect(&placed, &covered)) << placed.left << "," << placed.top;
    // In the middle of the primary, whose corner is at (1600, 900), a 480 x
    // 270 grid; in the middle of the other, at (0, 0), a 400 x 225 one.
    const std::vector<std::array<int32_t, 4>> expected = {{2320, 1305, 480, 270},
                                                          {600, 337, 400, 225}};
    EXPECT_EQ(fires, expected);
}

// Settings size the grid once, at creation; the real timer's frames come at
// the timer's pace; destruction releases what creation made.
TEST_F(FireWindow, CreationMakesWhatTheFramesNeedTheTimerPacesThemDestructionReleases)
{
    HPALETTE palette = nullptr;
    ASSERT_TRUE(WriteSettingsSection("Size=2\r\nScaling=1\r\n"));
    EXPECT_EQ(RunSaverWith(parent = MakeParentWindow(152, 112),
                           [&](HWND saver) {
                               const FireEffectStateRecord& effect = FireEffectState;
                               const Fire& fire = effect.fires[0];
                               EXPECT_EQ(fire.field.width * 100 + fire.field.height, 7656);
                               EXPECT_EQ(fire.place.width * 1000 + fire.place.height, 152112);
                               EXPECT_EQ(effect.windowDC, GetDC(saver)) << "the class's own";
                               palette = effect.palette;
                               PALETTEENTRY entries[256];  // the fire's entries reserved
                               ASSERT_EQ(GetPaletteEntries(palette, 0, 256, entries), 256u);
                               for (int i = 10; i < 246; ++i) {
                                   const PALETTEENTRY& e = entries[i];
                                   EXPECT_EQ(DWORD(e.peRed) << 16 | e.peGreen << 8 | e.peBlue,
                                             HeatColor(uint8_t(i - 10)));
                                   EXPECT_EQ(e.peFlags, PC_RESERVED) << i;
                               }
                               WriteSettingsSection("Size=8\r\n");
                               // A 1 ms timer: dozens of frames a second on any machine,
                               // one a second if it asked for 1000 ms.
                               const uint8_t* grid = fire.field.current;
                               int frames = 0;
                               PumpUntil(
                                   [&] {
                                       frames += fire.field.current != grid;
                                       grid = fire.field.current;
                                       return false;
                                   },
                                   2000);
                               EXPECT_GE(frames, 10) << "frames in 2 s";
                               EXPECT_EQ(fire.field.width, 76) << "read at creation only";
                           }),
              0);
    EXPECT_EQ(GetObjectType(palette), 0u);
}

// After every frame each pixel of the window is the reference fire's, black
// around it; an erase, and a repaint without one, bring back the whole
// picture. All four settings apart show each read as the key it is under.
struct ScreenCase {
    const char* name;
    int width, height;  // the preview's parent; 0 for full screen
    const char* lines;
    ExpectedFire fire;
    int32_t fireType, newFire;
};

const ScreenCase ScreenCases[] = {
    // clang-format off
    {"OddPreview", 153, 113, "", {{57, 42, 38, 28}, 38, 28, 1}, 8, 8},
    {"FullScreenDefaults", 0, 0, "", {{384, 288, 256, 192}, 256, 192, 1}, 8, 8},
    {"FullScreenHighestFlames", 0, 0, "Size=2\r\nFire type=1\r\nNew fire=0\r\n",
     {{256, 192, 512, 384}, 512, 384, 1}, 1, 0},
    {"EverySettingByItsKey", 0, 0, "Size=2\r\nScaling=1\r\nNew fire=3\r\nFire type=5\r\n",
     {{0, 0, 1024, 768}, 512, 384, 1}, 5, 3},
    {"NoGridStaysBlack", 0, 0, "Size=1000000\r\n", {{512, 384, 0, 0}, 0, 0, 1}, 8, 8},
    {"NoSowingStaysBlack", 0, 0, "Fire type=0\r\n", {{384, 288, 256, 192}, 256, 192, 1}, 0, 8},
    // clang-format on
};

class FireScreen : public InProcessTest, public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(FireScreen, EveryFrameShowsTheWholePictureExactly)
{
    const ScreenCase& c = GetParam();
    ASSERT_TRUE(WriteSettingsSection(c.lines));
    if (c.width) parent = MakeParentWindow(c.width, c.height);
    RunSaverWith(parent, [&](HWND saver) {
        KillTimer(saver, FireEffectState.timerId);
        Pump(200);  // shown, erased and painted
        RECT client = {};
        GetClientRect(saver, &client);
        POINT origin = {0, 0};
        ClientToScreen(saver, &origin);
        ReferenceFire fire;
        StartReferenceFire(fire, c.fire, c.fireType, c.newFire);
        for (int frame = 1; frame <= 40; ++frame) {
            if (frame == 15)
                RedrawWindow(saver, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            if (frame == 30) {  // white over the picture, then a repaint without an erase
                HDC dc = GetDC(saver);
                const FramePlacement& p = c.fire.place;
                const RECT picture = {p.x, p.y, p.x + p.width, p.y + p.height};
                FillRect(dc, &picture, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                ReleaseDC(saver, dc);
                RedrawWindow(saver, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            }
            SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
            // Wine shows a window's drawing when its thread next waits.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
            const Screenshot shot = CaptureScreen();
            std::vector<uint32_t> seen;
            for (int y = 0; y < client.bottom; ++y) {
                const DWORD* row = &shot.pixels[size_t(origin.y + y) * shot.width + origin.x];
                for (int x = 0; x < client.right; ++x) seen.push_back(row[x] & 0xFFFFFF);
            }
            // The real timer may have drawn a few frames before it was stopped.
            RunReferenceFire(fire);
            for (int more = 0; frame == 1 && more < 60 && !ShowsFire(seen, client.right, fire);)
                RunReferenceFire(fire), ++more;
            int wrong = 0;
            for (int y = 0; y < client.bottom; ++y) {
                for (int x = 0; x < client.right; ++x)
                    wrong += seen[size_t(y) * client.right + x] != ExpectedPixel(fire, x, y);
            }
            ASSERT_EQ(wrong, 0) << "frame " << frame;
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Cases, FireScreen, ::testing::ValuesIn(ScreenCases), RowName());

}  // namespace
