// What a saver window shows after each frame, read back from the screen with
// the timer stopped and frames sent by hand: every pixel of the fire's
// rectangle is the colour-table entry of its surface byte, every surface
// byte is the grid just computed plus FireIndexBase, and the rest of the
// window is black. Frames present only the rows that changed, so this is
// what holds them to the whole picture.
#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "fire/FireColors.h"
#include "fire/FireSettings.h"
#include "fire/FireWindowProc.h"
#include "support/ScreenCheck.h"

namespace {

struct ScreenCase {
    int width, height;  // the preview's parent; 0 for full screen
    const char *size, *fireType, *newFire;
};

const ScreenCase Cases[] = {
    {153, 113, "4", "8", "8"},  // odd sizes: 38x28 cells at (57, 42)
    {0, 0, "4", "8", "8"},      // the defaults, centred on the screen
    {0, 0, "2", "1", "0"},      // hand-edited: the highest flames
};

TEST(FireScreen, EveryFrameShowsTheWholePictureExactly) {
    for (const ScreenCase& c : Cases) {
        ResetSaverRecords();
        WritePrivateProfileStringA(SettingsSection, nullptr, nullptr, SettingsFile);
        WritePrivateProfileStringA(SettingsSection, SizeKey, c.size, SettingsFile);
        WritePrivateProfileStringA(SettingsSection, FireTypeKey, c.fireType, SettingsFile);
        WritePrivateProfileStringA(SettingsSection, NewFireKey, c.newFire, SettingsFile);
        HWND parent = c.width ? CreateTestParent(c.width, c.height) : nullptr;
        HWND saver = CreateSaverWindowForTests(parent);
        ASSERT_TRUE(saver);
        const FireEffectStateRecord& fire = FireEffectState;
        KillTimer(saver, fire.timerId);
        PumpFor(200);  // shown, erased and painted
        const RECT client = fire.clientRect;
        POINT origin = {0, 0};
        ClientToScreen(saver, &origin);
        const int32_t w = fire.field.width, h = fire.field.height;
        const FramePlacement place =
            PlaceCentredFrame(client.right, client.bottom, w, h, FireSettings.size);
        const int32_t stride = SurfaceStride(w);
        for (int frame = 1; frame <= 40; ++frame) {
            // Halfway the platform erases and repaints the window.
            if (frame == 25) {
                RedrawWindow(saver, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            }
            SendMessageA(saver, WM_TIMER, FrameTimerId, 0);
            // Wine puts a window's drawing on the screen when its thread next waits.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
            const Screenshot shot = CaptureScreen();
            int wrong = 0, firstX = 0, firstY = 0, surfaceWrong = 0;
            for (int y = 0; y < client.bottom; ++y) {
                for (int x = 0; x < client.right; ++x) {
                    const int gx = x - place.x, gy = y - place.y;
                    COLORREF expected = 0;
                    if (gx >= 0 && gx < w && gy >= 0 && gy < h) {
                        const uint8_t index = fire.surface.pixels[gy * stride + gx];
                        surfaceWrong += index != fire.field.current[gy * w + gx] + FireIndexBase;
                        const RampColor color = fire.colorRamp.entries[index];
                        expected = RGB(color.red, color.green, color.blue);
                    }
                    if (shot.At(origin.x + x, origin.y + y) != expected && !wrong++) {
                        firstX = x;
                        firstY = y;
                    }
                }
            }
            ASSERT_EQ(surfaceWrong + wrong, 0)
                << surfaceWrong << " surface bytes; " << c.width << "x" << c.height << " size "
                << c.size << ", frame " << frame << ", first pixel at " << firstX << "," << firstY;
        }
        DestroyWindow(parent ? parent : saver);
        PumpFor(50);
    }
    WritePrivateProfileStringA(SettingsSection, nullptr, nullptr, SettingsFile);
}

}  // namespace
