// The built saver with a password wanted, meeting the platform's components
// from outside: a verifier that faults, one a second run or a preview must
// not load, a missing password-change library. The saver-running state is
// kept per process here, so the verifier double reports it from inside the
// saver: raised while a verifier is loaded, lowered by the end of the
// process on every path that raised it.
#include <gtest/gtest.h>

#include <sstream>

#include "support/KeptSettings.h"
#include "support/SaverProcess.h"

namespace {

typedef std::vector<std::string> Lines;

// The double's lines for one process, without the process number.
Lines ProbeLines(const std::string& log, DWORD processId)
{
    Lines lines;
    std::istringstream text(ReadWholeFile(log));
    const std::string prefix = std::to_string(processId) + " ";
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line.substr(prefix.size()));
    }
    return lines;
}

struct Faults : ::testing::Test {
    void SetUp() override
    {
        // No crash dialog for the children (and no debugger): the platform's
        // standard treatment of a fault then lets the guard act.
        SetErrorMode(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
        SetUsePassword(true);
        ASSERT_TRUE(CopyFileA(SaverPath().c_str(), saver.c_str(), FALSE)) << SaverPath();
        ASSERT_TRUE(CopyFileA((ProgramFolder() + "PASSWORD.CPL").c_str(),
                              (folder + "PASSWORD.CPL").c_str(), FALSE));
    }
    void TearDown() override { RemoveScratchFolder(folder); }

    // The double stays to the end of the process, so that it sees the last state.
    ExtraEnvironment Verifier(const char* answer) const
    {
        return {{"EMBRIX_PROBE_LOG", log}, {"EMBRIX_PROBE_STAY", "1"}, {"EMBRIX_PROBE_ANSWER", answer}};
    }

    KeptSettings kept;
    NoFaultDebugger noDebugger;
    std::string folder = MakeScratchFolder("faults");
    std::string saver = folder + "Embrix.scr", log = folder + "probe.log";
};

TEST_F(Faults, FaultingVerifierEndsThroughTheGuardWithTheStateLowered)
{
    SaverProcess run;
    ASSERT_TRUE(StartSaver(saver, "/s", run, Verifier("fault")));
    HWND window = WaitForFullScreen(run);
    ASSERT_TRUE(window);
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    // The guard's result is that of lowering the state: 1 for success.
    EXPECT_EQ(WaitForExit(run), 1u);
    EXPECT_EQ(ProbeLines(log, run.id),
              (Lines{"attach running=0", "verify running=1 fault", "exit running=0"}));
}

TEST_F(Faults, SecondFullScreenRunLoadsNothingAndLeavesTheFirstRunning)
{
    SaverProcess first, second;
    ASSERT_TRUE(StartSaver(saver, "/s", first, Verifier("accept")));
    HWND window = WaitForFullScreen(first);
    ASSERT_TRUE(window);
    ASSERT_TRUE(StartSaver(saver, "/s", second, Verifier("accept")));
    const DWORD secondId = second.id;
    EXPECT_EQ(WaitForExit(second), 0u);
    EXPECT_EQ(ProbeLines(log, secondId), Lines{});
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(StillRunning(first));

    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(WaitForExit(first), 0u);
    EXPECT_EQ(ProbeLines(log, first.id),
              (Lines{"attach running=0", "verify running=1 accept", "exit running=0"}));
}

TEST_F(Faults, PreviewNeverLoadsTheVerifier)
{
    HWND parent = MakeParentWindow(152, 112);
    SaverProcess run;
    ASSERT_TRUE(StartSaver(saver, "/p " + HandleText(parent), run, Verifier("accept")));
    EXPECT_TRUE(WaitForPreview(parent, run));
    DestroyWindow(parent);
    EXPECT_EQ(WaitForExit(run), 0u);
    EXPECT_EQ(ProbeLines(log, run.id), Lines{});
}

// Run only as the child below: ends with 42 when the password-change
// library cannot be loaded.
TEST(MissingLibrary, DISABLED_PasswordChange)
{
    if (!LoadLibraryA("MPR.DLL")) ExitProcess(42);
    FAIL() << "MPR.DLL loads";
}

// The ctest entry switches Wine's own library off ("mpr=" in
// WINEDLLOVERRIDES, which Wine reads from the environment a process is
// started with, not from one a parent hands over). Proved here, in this
// process and in a child started as the saver is.
TEST(WithoutPasswordChangeLibrary, PasswordChangeEndsWithZero)
{
    ASSERT_EQ(LoadLibraryA("MPR.DLL"), nullptr) << "the library is there";
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SaverProcess proof;
    ASSERT_TRUE(StartProgram(self, std::string("\"") + self + "\" --gtest_also_run_disabled_tests"
                             " --gtest_filter=MissingLibrary.DISABLED_PasswordChange", proof));
    ASSERT_EQ(WaitForExit(proof), 42u) << "the library is there for a child";

    EXPECT_EQ(RunSaver("/a"), 0u);
}

}  // namespace
