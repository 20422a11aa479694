// What a saver window shows after each frame sent by hand, read back from
// the screen: every pixel of the fire's rectangle is the colour of its
// surface byte, every byte the grid just computed plus FireIndexBase, the rest
// black. Frames present only the rows that changed; this holds them to the
// whole picture.
#include "fire/FireColors.h"
#include "fire/FireSettings.h"
#include "fire/win32/FireWindowProc.h"
#include "fire/ScreenLayout.h"
#include "support/ScreenCheck.h"
#include "support/WindowHarness.h"

namespace {

const WindowCase Cases[] = {
    {"OddPreview", 153, 113, ""},  // 38x28 cells at (57, 42)
    {"FullScreenDefaults", 0, 0, ""},
    {"FullScreenHighestFlames", 0, 0, "Size=2\r\nFire type=1\r\nNew fire=0\r\n"},
};

class FireScreen : public InProcessTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(FireScreen, EveryFrameShowsTheWholePictureExactly)
{
    const WindowCase& c = GetParam();
    ASSERT_TRUE(WriteSettingsSection(c.lines));
    if (c.width) parent = MakeRecordingParent(c.width, c.height);
    RunSaverWith(parent, [&](HWND saver) {
        const FireEffectStateRecord& fire = FireEffectState;
        KillTimer(saver, fire.timerId);
        Pump(200);  // shown, erased and painted
        const RECT& client = fire.clientRect;
        POINT origin = {0, 0};
        ClientToScreen(saver, &origin);
        const int32_t w = fire.field.width, h = fire.field.height;
        const ScreenRect area = {client.left, client.top, client.right, client.bottom};
        const FramePlacement place = PlaceFrame(area, w, h, FireSettings.size, 0);
        const int32_t stride = SurfaceStride(w);
        int hot = 0;
        for (int frame = 1; frame <= 40; ++frame) {
            // Halfway the platform erases and repaints the window.
            if (frame == 25)
                RedrawWindow(saver, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
            // Wine puts a window's drawing on the screen when its thread next waits.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
            const Screenshot shot = CaptureScreen();
            int wrong = 0, surfaceWrong = 0;
            for (int y = client.top; y < client.bottom; ++y) {
                for (int x = client.left; x < client.right; ++x) {
                    const int gx = x - place.x, gy = y - place.y;
                    DWORD expected = 0;
                    if (gx >= 0 && gx < w && gy >= 0 && gy < h) {
                        const uint8_t index = fire.surface.pixels[gy * stride + gx];
                        surfaceWrong += index != fire.field.current[gy * w + gx] + FireIndexBase;
                        hot += index > FireIndexBase;
                        const RampColor color = fire.colorRamp.entries[index];
                        expected = DWORD(color.red) << 16 | color.green << 8 | color.blue;
                    }
                    const DWORD seen =
                        shot.pixels[size_t(origin.y + y) * shot.width + origin.x + x];
                    wrong += (seen & 0xFFFFFF) != expected;
                }
            }
            ASSERT_EQ(surfaceWrong + wrong, 0) << surfaceWrong << " surface bytes; frame " << frame;
        }
        EXPECT_GT(hot, 0) << "the frames sowed and spread";
    });
}

INSTANTIATE_TEST_SUITE_P(Cases, FireScreen, ::testing::ValuesIn(Cases), RowName());

}  // namespace
