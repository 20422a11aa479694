// The saver window as the host runs it (RunSaverWindow), in this process.
#include <cstring>
#include <utility>

#include "fire/FireSettings.h"
#include "win32/FireWindowProc.h"
#include "win32/PasswordVerifier.h"
#include "win32/SaverHostState.h"
#include "win32/SaverWindow.h"
#include "support/InProcess.h"

uint64_t Allocations;  // calls from this program's objects, wrapped at link time

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void* __wrap_malloc(size_t size)
{
    return ++Allocations, __real_malloc(size);
}
void* __wrap_calloc(size_t count, size_t size)
{
    return ++Allocations, __real_calloc(count, size);
}
void* __wrap_realloc(void* block, size_t size)
{
    return ++Allocations, __real_realloc(block, size);
}
#ifdef _WIN64
extern decltype(&GetSystemMetrics) ImportedGetSystemMetrics __asm__("__imp_GetSystemMetrics");
#else
extern decltype(&GetSystemMetrics) ImportedGetSystemMetrics __asm__("__imp__GetSystemMetrics@4");
#endif
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
        const uint8_t* current = FireEffectState.field.current;
        SendMessageA(saver, WM_PAINT, 0, 0);
        EXPECT_EQ(FireEffectState.field.current, current);
        SendMessageA(saver, WM_TIMER, 77, 0);
        EXPECT_NE(FireEffectState.field.current, current);
        SaverHostState.closeAllowed = 1;
        current = FireEffectState.field.current;
        EXPECT_EQ(SendMessageA(saver, WM_TIMER, FrameTimerId, 0), 0);
        EXPECT_EQ(FireEffectState.field.current, current);
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
// the import slot by which the host and the effect read the metrics.
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

void PutMetrics(decltype(&GetSystemMetrics) metrics)
{
    DWORD was = 0;
    VirtualProtect(&ImportedGetSystemMetrics, sizeof metrics, PAGE_READWRITE, &was);
    ImportedGetSystemMetrics = metrics;
}

using FireWindow = InProcessTest;

TEST_F(FireWindow, FullScreenOverMonitorsLeftOfAndAboveThePrimary)
{
    PlatformMetrics = ImportedGetSystemMetrics;
    PutMetrics(MadeUpMetrics);
    RECT placed = {};
    const RECT covered = {-1600, -900, 1920, 1080}, fire = {1600, 900, 3520, 1980};
    RunSaverWith(nullptr, [&](HWND saver) {
        GetWindowRect(saver, &placed);
        EXPECT_TRUE(EqualRect(&FireEffectState.clientRect, &fire));
        EXPECT_EQ(FireEffectState.field.width * 1000 + FireEffectState.field.height, 480270);
    });
    PutMetrics(PlatformMetrics);
    EXPECT_TRUE(EqualRect(&placed, &covered)) << placed.left << "," << placed.top;
}

// Settings size the grid once, at creation; the real timer's frames fill the
// surface, an erase blackens it and the window.
TEST_F(FireWindow, CreationMakesEverythingTheFramesNeedDestructionReleasesIt)
{
    FireEffectStateRecord fire = {};
    HGDIOBJ section = nullptr;
    ASSERT_TRUE(WriteSettingsSection("Size=2\r\nScaling=1\r\n"));
    EXPECT_EQ(
        RunSaverWith(
            parent = MakeParentWindow(152, 112),
            [&](HWND saver) {
                fire = FireEffectState;
                EXPECT_EQ(fire.field.width * 100 + fire.field.height, 7656) << "152 x 112 in 2s";
                EXPECT_EQ(FireSettings.scaling, 1);
                ASSERT_TRUE(fire.field.next && fire.field.current);
                for (int i = 0; i < 76 * 56; ++i) ASSERT_EQ(fire.field.current[i], 0) << i;
                EXPECT_EQ(fire.windowDC, GetDC(saver)) << "the class's own context";
                section = GetCurrentObject(fire.surface.memoryDC, OBJ_BITMAP);
                EXPECT_EQ(GetObjectType(section), static_cast<DWORD>(OBJ_BITMAP));
                EXPECT_EQ(fire.timerId, FrameTimerId);
                PALETTEENTRY entries[256];  // the table's colours, the fire's entries reserved
                ASSERT_EQ(GetPaletteEntries(fire.palette, 0, 256, entries), 256u);
                for (int i = 0; i < 256; ++i) {
                    const RampColor& c = fire.colorRamp.entries[i];
                    const PALETTEENTRY want = {c.red, c.green, c.blue,
                                               BYTE(i >= 10 && i <= 245 ? PC_RESERVED : 0)};
                    EXPECT_EQ(std::memcmp(&entries[i], &want, 4), 0) << i;
                }
                WriteSettingsSection("Size=8\r\n");
                int frames = 0;  // from the real timer, seen as swaps of the two grids
                ASSERT_TRUE(PumpUntil([&] {
                    frames += std::exchange(fire.field.current, FireEffectState.field.current) !=
                              FireEffectState.field.current;
                    return frames >= 12;
                }));
                KillTimer(saver, FireEffectState.timerId);
                EXPECT_EQ(FireEffectState.field.width, 76) << "read at creation only";
                const uint8_t* pixels = FireEffectState.surface.pixels;
                HDC dc = GetDC(saver);
                SendMessageA(saver, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
                for (int i = 0; i < 76 * 56; ++i) ASSERT_EQ(pixels[i], 0) << i;
                EXPECT_EQ(GetPixel(dc, 60, 50) & 0xFFFFFF, 0u);
                EXPECT_EQ(GetPixel(dc, 1, 1) & 0xFFFFFF, 0u);
                ReleaseDC(saver, dc);
            }),
        0);
    EXPECT_EQ(GetObjectType(fire.palette), 0u);
    EXPECT_EQ(GetObjectType(fire.surface.memoryDC), 0u);
    EXPECT_EQ(GetObjectType(section), 0u);
    DestroyFrameSurface(FireEffectState.surface);  // a second time finds nothing to release
}

// Each pixel of the picture the colour of its grid cell + 10 after every
// frame, the rest black; an erase, and a repaint without one, bring back
// the whole picture, though frames present only the rows that changed.
struct ScreenCase {
    const char* name;
    int width, height;  // the preview's parent; 0 for full screen
    const char* lines;
    RECT picture;
};

const char HighestFlames[] = "Size=2\r\nFire type=1\r\nNew fire=0\r\n";
const ScreenCase ScreenCases[] = {
    {"OddPreview", 153, 113, "", {57, 42, 95, 70}},  // 38 x 28
    {"FullScreenDefaults", 0, 0, "", {384, 288, 640, 480}},
    {"FullScreenHighestFlames", 0, 0, HighestFlames, {256, 192, 768, 576}},
};

class FireScreen : public InProcessTest, public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(FireScreen, EveryFrameShowsTheWholePictureExactly)
{
    const ScreenCase& c = GetParam();
    ASSERT_TRUE(WriteSettingsSection(c.lines));
    if (c.width) parent = MakeParentWindow(c.width, c.height);
    RunSaverWith(parent, [&](HWND saver) {
        const FireEffectStateRecord& fire = FireEffectState;
        KillTimer(saver, fire.timerId);
        Pump(200);  // shown, erased and painted
        RECT client = {};
        GetClientRect(saver, &client);
        POINT origin = {0, 0};
        ClientToScreen(saver, &origin);
        const RECT& picture = c.picture;
        const int w = picture.right - picture.left;
        int hot = 0;
        for (int frame = 1; frame <= 40; ++frame) {
            if (frame == 15)
                RedrawWindow(saver, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            if (frame == 30) {  // white over the picture, then a repaint without an erase
                HDC dc = GetDC(saver);
                FillRect(dc, &picture, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                ReleaseDC(saver, dc);
                RedrawWindow(saver, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            }
            SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
            // Wine shows a window's drawing when its thread next waits.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
            const Screenshot shot = CaptureScreen();
            int wrong = 0;
            for (int y = 0; y < client.bottom; ++y) {
                for (int x = 0; x < client.right; ++x) {
                    const POINT at = {x, y};
                    DWORD expected = 0;
                    if (PtInRect(&picture, at)) {
                        const int heat =
                            fire.field.current[(y - picture.top) * w + x - picture.left];
                        const RampColor color = fire.colorRamp.entries[heat + 10];
                        expected = DWORD(color.red) << 16 | color.green << 8 | color.blue;
                        hot += heat > 0;
                    }
                    const DWORD seen =
                        shot.pixels[size_t(origin.y + y) * shot.width + origin.x + x];
                    wrong += (seen & 0xFFFFFF) != expected;
                }
            }
            ASSERT_EQ(wrong, 0) << "frame " << frame;
        }
        EXPECT_GT(hot, 0) << "the frames sowed and spread";
    });
}

INSTANTIATE_TEST_SUITE_P(Cases, FireScreen, ::testing::ValuesIn(ScreenCases), RowName());

// Wine's GetGuiResources counts nothing. A brush made and deleted at once
// gets the slot freed last, whose handle changes with each reuse: the step
// from one probe to the next grows when anything was made in between.
uintptr_t ProbeGraphicsHandle()
{
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    DeleteObject(brush);
    return reinterpret_cast<uintptr_t>(brush);
}

using SaverFrames = InProcessTest;

TEST_F(SaverFrames, AllocateAndCreateNothing)
{
    parent = MakeParentWindow(640, 480);
    const uint64_t beforeCreation = Allocations;
    RunSaverWith(parent, [&](HWND saver) {
        ASSERT_EQ(FireEffectState.field.width, 160);
        EXPECT_GE(Allocations - beforeCreation, 2u) << "the grids' allocations are seen";
        KillTimer(saver, FireEffectState.timerId);
        for (int frame = 0; frame < 20; ++frame) SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
        const uintptr_t probe0 = ProbeGraphicsHandle(), probe1 = ProbeGraphicsHandle();
        DeleteObject(CreatePen(PS_SOLID, 1, 0));
        const uintptr_t emptyStep = probe1 - probe0;
        ASSERT_NE(ProbeGraphicsHandle() - probe1, emptyStep) << "the probe sees a made object";
        const uint64_t before = Allocations;
        const uint32_t seedBefore = randomSeed;
        const uintptr_t probeBefore = ProbeGraphicsHandle();
        for (int frame = 0; frame < 200; ++frame) SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
        EXPECT_EQ(ProbeGraphicsHandle() - probeBefore, emptyStep) << "graphics objects were made";
        EXPECT_EQ(Allocations, before) << "allocations in 200 frames";
        EXPECT_NE(randomSeed, seedBefore) << "frames ran and sowed";
    });
}

}  // namespace
