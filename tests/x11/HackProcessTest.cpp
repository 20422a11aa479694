// The hack's command line, and the built hack started as the daemon starts
// it: its windows, its refusals and its end.
// gtest first: Xlib defines words such as None as macros.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <csignal>
#include <climits>

#include "support/XvfbServer.h"
#include "x11/HackOptions.h"

namespace {

struct OptionRow {
    std::vector<const char*> args;
    const char* faulty;  // the argument the message names; null when accepted
    HackTarget target = HackTarget::OwnWindow;
    uint32_t windowId = 0;
    FireSettingsRecord settings = {};
    int32_t delay = 0, frames = 0;
};

const OptionRow Rows[] = {
    {{}, nullptr, HackTarget::OwnWindow, 0, {4, 0, 8, 8}, 15625, 0},
    {{"-root"}, nullptr, HackTarget::Root, 0, {4, 0, 8, 8}, 15625, 0},
    {{"--window-id", "0x2A00005", "--size", "2", "--scaling", "1", "--frames", "9"},
     nullptr,
     HackTarget::WindowId,
     0x2A00005,
     {2, 1, 8, 8},
     15625,
     9},
    {{"-window-id", "4294967295", "-new-fire", "-3", "-fire-type", "0", "-delay", "0"},
     nullptr,
     HackTarget::WindowId,
     4294967295u,
     {4, 0, -3, 0},
     0,
     0},
    {{"--size", "-2147483648", "--scaling", "+7", "--root"},
     nullptr,
     HackTarget::Root,
     0,
     {INT_MIN, 7, 8, 8},
     15625,
     0},
    {{"--sizes", "2"}, "--sizes"},
    {{"root"}, "root"},
    {{"--size", "2x"}, "--size"},
    {{"--size", "2147483648"}, "--size"},
    {{"--scaling", ""}, "--scaling"},
    {{"--delay", "-1"}, "--delay"},
    {{"--frames", "-1"}, "--frames"},
    {{"--size", "8", "--fire-type"}, "--fire-type"},
    {{"--window-id", "0x"}, "--window-id"},
    {{"-window-id", "4294967296"}, "-window-id"},
};

TEST(HackOptions, TakeWhatIsGivenAndNameWhatIsWrong)
{
    for (const OptionRow& row : Rows) {
        std::vector<const char*> argv = {"embrix"};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        HackOptions o;
        std::string error;
        const bool ok = ParseHackOptions(int(argv.size()), argv.data(), o, error);
        const std::string line = argv.size() > 1 ? argv[1] : "(none)";
        ASSERT_EQ(ok, row.faulty == nullptr) << line << ": " << error;
        if (!ok) {
            EXPECT_NE(error.find('"' + std::string(row.faulty) + '"'), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(o.target, row.target) << line;
        EXPECT_EQ(o.windowId, row.windowId) << line;
        const FireSettingsRecord& s = o.settings;
        EXPECT_EQ(s.size, row.settings.size) << line;
        EXPECT_EQ(s.scaling, row.settings.scaling) << line;
        EXPECT_EQ(s.newFire, row.settings.newFire) << line;
        EXPECT_EQ(s.fireType, row.settings.fireType) << line;
        EXPECT_EQ(o.delay, row.delay) << line;
        EXPECT_EQ(o.frames, row.frames) << line;
    }
}

class HackProcess : public ::testing::Test {
  protected:
    void SetUp() override
    {
        server = StartXvfb("320x240x24", true);
    }
    void TearDown() override
    {
        StopXvfb(server);
    }
    XvfbServer server;
};

TEST_F(HackProcess, RefusesAnUnknownOptionWithOneLineNamingIt)
{
    int errors = -1;
    const pid_t hack = StartHack({"--size", "2", "--bogus"}, server.display, "", &errors);
    char text[200] = {};
    const ssize_t length = read(errors, text, sizeof text - 1);
    close(errors);
    EXPECT_EQ(WaitForExit(hack), 2);
    EXPECT_EQ(std::string(text), "embrix: unknown option \"--bogus\"\n") << length;
}

TEST_F(HackProcess, EndsOnSigtermWithStatusZero)
{
    const pid_t hack = StartHack({}, server.display, "", nullptr);
    sleep(2);  // its own window open and burning
    kill(hack, SIGTERM);
    EXPECT_EQ(WaitForExit(hack), 0);
}

// The daemon's window by $XSCREENSAVER_WINDOW with --root, or by --window-id.
TEST_F(HackProcess, DrawsIntoTheWindowItIsGiven)
{
    Display* display = XOpenDisplay(server.display.c_str());
    ASSERT_NE(display, nullptr);
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 100, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
    char hex[20], decimal[20];
    snprintf(hex, sizeof hex, "0x%lx", window);
    snprintf(decimal, sizeof decimal, "%lu", window);
    const std::vector<std::string> runs[2] = {{"--root"}, {"-window-id", decimal}};
    for (const std::vector<std::string>& run : runs) {
        XClearWindow(display, window);
        XSync(display, False);
        std::vector<std::string> args = {"--frames", "40", "--delay", "0", "--fire-type", "2"};
        args.insert(args.end(), run.begin(), run.end());
        EXPECT_EQ(WaitForExit(StartHack(args, server.display, hex, nullptr)), 0) << run[0];
        XImage* shot = XGetImage(display, window, 0, 0, 200, 100, AllPlanes, ZPixmap);
        int lit = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) lit += XGetPixel(shot, x, y) != 0;
        XDestroyImage(shot);
        EXPECT_GT(lit, 0) << run[0];
    }
    XCloseDisplay(display);
}

}  // namespace
