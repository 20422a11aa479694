// The hack's command line, what the settings program writes from
// embrix.xml, and the built hack started as the daemon starts it: its
// refusal and its end.
#include <gtest/gtest.h>

#include <unistd.h>

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

// The arguments, and what they give: "target window size scaling new-fire
// fire-type delay frames", or the argument a refusal quotes.
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
