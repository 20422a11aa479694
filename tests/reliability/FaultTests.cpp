// The built saver with a password wanted, meeting the platform's components
// from outside: a verifier that faults, one that a second run or a preview
// must not load, a missing password-change library. The verifier double
// reports the saver-running state from inside the saver (it is per process
// here): raised while a verifier is loaded, lowered by the end of the process.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/KeptSettings.h"
#include "support/SaverProcess.h"

namespace {

// What the double logs for one process.
std::string Logged(DWORD processId, std::initializer_list<const char*> events)
{
    std::string text;
    for (const char* event : events) text += std::to_string(processId) + " " + event + "\n";
    return text;
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
        SetEnvironmentVariableA("EMBRIX_PROBE_LOG", log.c_str());
        SetEnvironmentVariableA("EMBRIX_PROBE_STAY", "1");
        SetEnvironmentVariableA("EMBRIX_PROBE_ANSWER", "accept");
    }
    void TearDown() override
    {
        RemoveScratchFolder(folder);
    }
    std::string Log() const
    {  // line ends aside
        std::string text = ReadWholeFile(log);
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    }

    KeptSettings kept;
    NoFaultDebugger noDebugger;
    std::string folder = MakeScratchFolder("faults");
    std::string saver = folder + "Embrix.scr", log = folder + "probe.log";
};

TEST_F(Faults, FaultingVerifierEndsThroughTheGuardWithTheStateLowered)
{
    SetEnvironmentVariableA("EMBRIX_PROBE_ANSWER", "fault");
    SaverProcess run;
    ASSERT_TRUE(StartSaver(saver, "/s", run));
    PostMessageA(WaitForFullScreen(run), WM_KEYDOWN, VK_SPACE, 0);
    const DWORD id = run.id;
    EXPECT_EQ(WaitForExit(run), 1u) << "the guard's result is that of lowering the state";
    EXPECT_EQ(Log(), Logged(id, {"attach running=0", "verify running=1 fault", "exit running=0"}));
}

TEST_F(Faults, SecondFullScreenRunLoadsNothingAndLeavesTheFirstRunning)
{
    SaverProcess first, second;
    ASSERT_TRUE(StartSaver(saver, "/s", first));
    HWND window = WaitForFullScreen(first);
    ASSERT_TRUE(window);
    ASSERT_TRUE(StartSaver(saver, "/s", second));
    EXPECT_EQ(WaitForExit(second), 0u);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(StillRunning(first));

    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    const DWORD id = first.id;
    EXPECT_EQ(WaitForExit(first), 0u);
    EXPECT_EQ(Log(),  // and nothing from the second run
              Logged(id, {"attach running=0", "verify running=1 accept", "exit running=0"}));
}

TEST_F(Faults, PreviewNeverLoadsTheVerifier)
{
    HWND parent = MakeParentWindow(152, 112);
    SaverProcess run;
    ASSERT_TRUE(StartSaver(saver, "/p " + HandleText(parent), run));
    EXPECT_TRUE(WaitForWindow(run, "WindowsScreenSaverClass", "Preview", parent));
    DestroyWindow(parent);
    EXPECT_EQ(WaitForExit(run), 0u);
    EXPECT_EQ(Log(), "");
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
    SaverProcess proof;
    ASSERT_TRUE(StartProgram("\"" + ProgramFolder() +
                                 "saver_end_to_end.exe\""
                                 " --gtest_also_run_disabled_tests"
                                 " --gtest_filter=MissingLibrary.DISABLED_PasswordChange",
                             proof));
    ASSERT_EQ(WaitForExit(proof), 42u) << "the library is there for a child";
    EXPECT_EQ(RunSaver("/a"), 0u);
}

}  // namespace
