// The hack's command line, what the settings program writes from
// embrix.xml, and the built hack as the daemon starts it and as a person
// runs it by hand.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <iterator>
#include <sstream>

#include "support/XvfbServer.h"
#include "x11/HackOptions.h"

namespace {

std::string Output(const std::string& command)  // what a shell command prints
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    for (int c; pipe && (c = fgetc(pipe)) != EOF;) out += char(c);
    if (pipe) pclose(pipe);
    return out;
}

// The default fire on a 320 x 240 root and in the hack's own 800 x 600
// window: a quarter of the side, in the middle.
const char RootFire[] = "120,90,80,60,80,60,1";
const char OwnWindowFire[] = "300,225,200,150,200,150,1";

// Which of the first 3000 frames of a hack started with the default settings
// window shows as fire, as the picture checker finds it, or 0; a picture
// taken between an expose's black and its frame is taken again. (import
// would take window 0 as a click to wait for.)
int ShownFrame(const std::string& display, const std::string& window, const char* fire)
{
    const std::string shot = testing::TempDir() + "embrix-shot.ppm";
    std::string verdict;
    for (int i = 0; i < 10 && window != "0" && verdict.rfind("frame ", 0) != 0; ++i)
        verdict = Output("DISPLAY=" + display + " import -window " + window + " -depth 8 " + shot +
                         " && " EMBRIX_PICTURE_CHECK " " + shot +
                         " --frames 3000 --new-fire 8 --fire-type 8 " + fire);
    return verdict.rfind("frame ", 0) == 0 ? atoi(verdict.c_str() + 6) : 0;
}

// The arguments, and what Parsed gives for them or the argument a refusal quotes.
const std::vector<const char*> Rows[] = {
    {"-root", "root 0 4 0 8 8 15625 0"},
    {"--window-id", "0x2A00005", "--size", "2", "--scaling", "1", "--frames", "9",
     "window 44040197 2 1 8 8 15625 9"},
    {"-window-id", "4294967295", "-new-fire", "-3", "-fire-type", "0", "-delay", "0",
     "window 4294967295 4 0 -3 0 0 0"},
    {"--size", "-2147483648", "--scaling", "+7", "--root", "root 0 -2147483648 7 8 8 15625 0"},
    {"--sizes", "2", "\"--sizes\""},
    {"root", "\"root\""},
    {"--size", "2x", "\"--size\""},
    {"--size", "2147483648", "\"--size\""},
    {"--scaling", "", "\"--scaling\""},
    {"--delay", "-1", "\"--delay\""},
    {"--frames", "-1", "\"--frames\""},
    {"--size", "8", "--fire-type", "\"--fire-type\""},
    {"--window-id", "0x", "\"--window-id\""},
    {"-window-id", "4294967296", "\"-window-id\""},
    {"--new-fire\n", "\"--new-fire\\x0A\""},
};

// What the hack makes of its arguments: "target window size scaling
// new-fire fire-type delay frames", or its refusal.
std::string Parsed(std::vector<const char*> argv)
{
    argv.insert(argv.begin(), "embrix");
    HackOptions o;
    std::string error;
    if (!ParseHackOptions(int(argv.size()), argv.data(), o, error)) return error;
    char seen[120];
    const char* targets[] = {"own", "root", "window"};
    snprintf(seen, sizeof seen, "%s %u %d %d %d %d %d %d", targets[int(o.target)], o.windowId,
             o.settings.size, o.settings.scaling, o.settings.newFire, o.settings.fireType, o.delay,
             o.frames);
    return seen;
}

TEST(HackOptions, TakeWhatIsGivenAndQuoteWhatIsWrong)
{
    for (const std::vector<const char*>& row : Rows)
        EXPECT_NE(Parsed({row.begin(), row.end() - 1}).find(row.back()), std::string::npos);
}

// Each choice embrix.xml offers, in its order, and what the command line the
// settings program writes for it must give, worked out from the labels (a
// grid of 1 / 4 of the screen's cells has half its side: size 2); each
// slider at its low, default and high values.
const std::pair<std::string, const char*> Choices[] = {
    {"Fire size 1 / 16", "root 0 8 0 8 8 15625 0"}, {"Fire size 1 / 8", "root 0 4 0 8 8 15625 0"},
    {"Fire size 1 / 4", "root 0 2 0 8 8 15625 0"},  {"Normal size", "root 0 4 0 8 8 15625 0"},
    {"Fullscreen", "root 0 4 1 8 8 15625 0"},       {"New fire=0", "root 0 4 0 0 8 15625 0"},
    {"New fire=8", "root 0 4 0 8 8 15625 0"},       {"New fire=16", "root 0 4 0 16 8 15625 0"},
    {"Fire type=4", "root 0 4 0 8 4 15625 0"},      {"Fire type=8", "root 0 4 0 8 8 15625 0"},
    {"Fire type=16", "root 0 4 0 8 16 15625 0"},
};

TEST(SettingsXml, EveryChoiceGivesTheSettingItsLabelNames)
{
    const std::string command =
        "'" EMBRIX_SOURCE_DIR "/tests/x11/settings-command' '" EMBRIX_SOURCE_DIR
        "/x11/embrix.xml' ";
    std::string offered;
    for (const auto& c : Choices) {
        offered += c.first + "\n";
        std::istringstream line(Output(command + "'" + c.first + "'"));
        const std::vector<std::string> words{std::istream_iterator<std::string>(line), {}};
        std::vector<const char*> args;
        for (const std::string& w : words) args.push_back(w.c_str());
        EXPECT_EQ(Parsed(args), c.second) << c.first;
    }
    EXPECT_EQ(Output(command + "--choices"), offered);
}

// Launches: a refusal; as the daemon runs it, on the root with its image in
// shared memory, at its pace, ended by SIGTERM (where ASan's leak check runs
// too); by hand, in a window of its own.
TEST(BuiltHack, RefusesWithOneLineAndEndsOnSigterm)
{
    XvfbServer server = StartXvfb("320x240x24", true);
    int errors = -1;
    pid_t hack = StartHack({"--size", "2", "--bogus"}, server.display, &errors);
    char text[200] = {};
    EXPECT_GT(read(errors, text, sizeof text - 1), 0);
    close(errors);
    EXPECT_EQ(WaitForExit(hack), 2);
    EXPECT_STREQ(text, "embrix: unknown option \"--bogus\"\n");

    hack = StartHack({"--root"}, server.display, nullptr);
    const std::string segments = "awk '$5 == " + std::to_string(hack) + "' /proc/sysvipc/shm";
    for (int i = 0; i < 100 && Output(segments).empty(); ++i) usleep(100000);
    EXPECT_NE(Output(segments), "") << "no shared-memory segment of the hack's";
    // 64 frames a second: between a third and three times the frames the time
    // between two pictures asks for, a band that no loaded machine misses.
    sleep(1);
    const auto start = std::chrono::steady_clock::now();
    const int first = ShownFrame(server.display, "root", RootFire);
    sleep(2);
    const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
    const int frames = ShownFrame(server.display, "root", RootFire) - first;
    EXPECT_TRUE(first > 0 && frames > taken.count() * 64 / 3 && frames < taken.count() * 64 * 3)
        << frames << " frames in " << taken.count() << " s from frame " << first;
    kill(hack, SIGTERM);
    EXPECT_EQ(WaitForExit(hack), 0);
    for (int i = 0; i < 50 && !Output(segments).empty(); ++i) usleep(100000);
    EXPECT_EQ(Output(segments), "") << "a segment outlived the hack";
    StopXvfb(server);
}

// Its own window, as a window manager would find it: "Embrix", 800 x 600,
// shown and burning; a part covered and uncovered is the fire's picture
// again at the next frame; the close ends it with 0.
TEST(BuiltHack, RunByHandInAWindowOfItsOwn)
{
    XvfbServer server = StartXvfb("1024x768x24", false);  // plain images, as across a network
    Display* display = XOpenDisplay(server.display.c_str());
    ASSERT_NE(display, nullptr);
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window gone is a failure here
    const pid_t hack = StartHack({}, server.display, nullptr);
    std::string seen;  // xwininfo finds a window by its exact title
    for (int i = 0; i < 100 && seen.find("IsViewable") == std::string::npos; ++i, usleep(100000))
        seen = Output("DISPLAY=" + server.display + " xwininfo -name Embrix 2>&1");
    Window window = None;
    sscanf(seen.c_str(), " xwininfo: Window id: %lx", &window);
    EXPECT_TRUE(seen.find("Width: 800\n  Height: 600\n") != std::string::npos &&
                seen.find("Map State: IsViewable") != std::string::npos)
        << seen;
    usleep(500000);  // some thirty frames
    const int before = ShownFrame(server.display, std::to_string(window), OwnWindowFire);
    EXPECT_GT(before, 0);
    const Window cover = XCreateSimpleWindow(display, DefaultRootWindow(display), 250, 200, 300,
                                             200, 0, 0, 0xFFFFFF);
    XMapRaised(display, cover);
    XSync(display, False);
    usleep(200000);
    XDestroyWindow(display, cover);
    XSync(display, False);
    usleep(100000);
    EXPECT_GT(ShownFrame(server.display, std::to_string(window), OwnWindowFire), before);
    // A window manager asks a window that lists WM_DELETE_WINDOW to close,
    // and kills the client of one that does not.
    Atom* protocols = nullptr;
    int count = 0;
    XEvent close = {};
    close.xclient = {ClientMessage,
                     0,
                     False,
                     display,
                     window,
                     XInternAtom(display, "WM_PROTOCOLS", False),
                     32,
                     {}};
    close.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    EXPECT_TRUE(XGetWMProtocols(display, window, &protocols, &count) &&
                std::count(protocols, protocols + count, Atom(close.xclient.data.l[0])) == 1);
    XSendEvent(display, window, False, NoEventMask, &close);
    XFlush(display);
    EXPECT_EQ(WaitForExit(hack), 0);
    if (protocols) XFree(protocols);
    XCloseDisplay(display);
    StopXvfb(server);
}

}  // namespace
