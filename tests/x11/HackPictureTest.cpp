// The hack's own code run frame by frame in a window on a private X server:
// after every frame the window, read back whole, is exactly the reference
// fire's picture, rows not sent included; through a resize, centred
// and stretched, with and without MIT-SHM.
// gtest first: Xlib defines words such as None as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "support/FirePicture.h"
#include "support/XvfbServer.h"
#include "x11/HackFire.h"

namespace {

struct PictureCase {
    const char* name;
    bool sharedMemory;
    int32_t size, scaling, width, height;
    ExpectedFire fire;  // in the window as created, then resized to the next window
    int32_t resizedWidth, resizedHeight;
    ExpectedFire resized;
};

const PictureCase Cases[] = {
    // clang-format off
    {"CentredShared", true, 4, 0, 203, 150, {{76, 56, 50, 37}, 50, 37, 1},
     130, 171, {{49, 64, 32, 42}, 32, 42, 1}},
    {"StretchedShared", true, 4, 1, 203, 150, {{0, 0, 203, 150}, 50, 37, 1},
     301, 122, {{0, 0, 301, 122}, 75, 30, 1}},
    {"CentredPlain", false, 2, 0, 161, 95, {{40, 24, 80, 47}, 80, 47, 1},
     120, 130, {{30, 32, 60, 65}, 60, 65, 1}},
    {"StretchedPlain", false, 8, 1, 250, 170, {{0, 0, 250, 170}, 31, 21, 1},
     97, 203, {{0, 0, 97, 203}, 12, 25, 1}},
    // clang-format on
};

class HackPicture : public ::testing::TestWithParam<PictureCase> {
  protected:
    void TearDown() override
    {
        DestroyHackFire();
        if (display) XCloseDisplay(display);
        StopXvfb(server);
    }
    XvfbServer server;
    Display* display = nullptr;
};

TEST_P(HackPicture, EveryFrameShowsTheWholePictureExactly)
{
    const PictureCase& c = GetParam();
    server = StartXvfb("400x300x24", c.sharedMemory);
    ASSERT_NE(display = XOpenDisplay(server.display.c_str()), nullptr);
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, c.width, c.height, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
    ASSERT_TRUE(CreateHackFire(display, window, HackWindowKind::Given,
                               {c.size, c.scaling, 1, 2}));  // much fire
    ReferenceFire fire;
    StartReferenceFire(fire, c.fire, 2, 1);
    int32_t width = c.width, height = c.height;
    for (int frame = 1; frame <= 60; ++frame) {
        if (frame == 40) {
            XResizeWindow(display, window, width = c.resizedWidth, height = c.resizedHeight);
            XSync(display, False);
            const ReferenceClock clock = fire.clock;  // the generator goes on
            StartReferenceFire(fire, c.resized, 2, 1);
            fire.clock = clock;
        }
        DrawHackFrame();
        RunReferenceFire(fire);
        XImage* shot = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
        ASSERT_NE(shot, nullptr);
        int wrong = 0;
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x)  // Xvfb's 24-bit pixels are 0xRRGGBB
                wrong += (XGetPixel(shot, x, y) & 0xFFFFFF) != ExpectedPixel(fire, x, y);
        }
        XDestroyImage(shot);
        ASSERT_EQ(wrong, 0) << "frame " << frame;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HackPicture, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<PictureCase>& p) {
                             return std::string(p.param.name);
                         });

}  // namespace
