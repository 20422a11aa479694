// The hack's command line, and the built hack started as the daemon starts
// it: its refusal and its end.
#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>

#include "support/XvfbServer.h"
#include "x11/HackOptions.h"

namespace {

// The arguments, and what they give: "target window size scaling new-fire
// fire-type delay frames", or the argument a refusal quotes.
const std::vector<const char*> Rows[] = {
    {"own 0 4 0 8 8 15625 0"},
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

TEST(HackOptions, TakeWhatIsGivenAndQuoteWhatIsWrong)
{
    for (const std::vector<const char*>& row : Rows) {
        std::vector<const char*> argv = {"embrix"};
        argv.insert(argv.end(), row.begin(), row.end() - 1);
        HackOptions o;
        std::string error;
        char seen[120];
        const char* targets[] = {"own", "root", "window"};
        if (ParseHackOptions(int(argv.size()), argv.data(), o, error)) {
            snprintf(seen, sizeof seen, "%s %u %d %d %d %d %d %d", targets[int(o.target)],
                     o.windowId, o.settings.size, o.settings.scaling, o.settings.newFire,
                     o.settings.fireType, o.delay, o.frames);
            EXPECT_STREQ(seen, row.back());
        } else {
            EXPECT_NE(error.find(row.back()), std::string::npos) << error;
        }
    }
}

// One program per behaviour: a refusal, and the end on SIGTERM, where ASan's
// leak check runs too.
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

    hack = StartHack({}, server.display, nullptr);
    sleep(2);  // its own window open and burning
    kill(hack, SIGTERM);
    EXPECT_EQ(WaitForExit(hack), 0);
    StopXvfb(server);
}

}  // namespace
