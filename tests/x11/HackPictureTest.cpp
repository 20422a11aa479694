// The hack's own code run frame by frame in a window on a private X server:
// after every frame the window, read back whole, is exactly the picture of
// the grid just computed, rows not sent included; through a resize, centred
// and stretched, with and without MIT-SHM.
// gtest first: Xlib defines words such as None as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "fire/FireSettings.h"
#include "support/FirePicture.h"
#include "support/XvfbServer.h"
#include "x11/HackFire.h"

namespace {

struct PictureCase {
    const char* name;
    bool sharedMemory;
    int32_t size, scaling, width, height, resizedWidth, resizedHeight;
};

const PictureCase Cases[] = {
    {"CentredShared", true, 4, 0, 203, 150, 130, 171},
    {"StretchedShared", true, 4, 1, 203, 150, 301, 122},
    {"CentredPlain", false, 2, 0, 161, 95, 120, 130},
    {"StretchedPlain", false, 8, 1, 250, 170, 97, 203},
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
    FireSettings = {c.size, c.scaling, 1, 2};  // much fire soon
    ASSERT_TRUE(CreateHackFire(display, window, false));
    int32_t width = c.width, height = c.height, hot = 0;
    for (int frame = 1; frame <= 60; ++frame) {
        if (frame == 40) {
            XResizeWindow(display, window, width = c.resizedWidth, height = c.resizedHeight);
            XSync(display, False);
        }
        DrawHackFrame();
        const FireField& f = HackFire.field;
        const FirePicture picture =
            LayOutFirePicture(width, height, {0, 0, width, height}, FireSettings);
        ASSERT_EQ(std::make_pair(f.width, f.height),
                  std::make_pair(picture.gridWidth, picture.gridHeight))
            << "frame " << frame;
        int wrong = 0;
        for (int32_t i = 0; i < f.width * f.height; ++i) hot += f.current[i] > 0;
        XImage* shot = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
        ASSERT_NE(shot, nullptr);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x)  // Xvfb's 24-bit pixels are 0xRRGGBB
                wrong +=
                    (XGetPixel(shot, x, y) & 0xFFFFFF) != ExpectedPixel(picture, f.current, x, y);
        }
        XDestroyImage(shot);
        ASSERT_EQ(wrong, 0) << "frame " << frame;
    }
    EXPECT_GT(hot, 0) << "the frames sowed and spread";
}

INSTANTIATE_TEST_SUITE_P(Cases, HackPicture, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<PictureCase>& p) {
                             return std::string(p.param.name);
                         });

}  // namespace
