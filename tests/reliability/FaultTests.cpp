// The built saver meeting broken platform components: a verifier without its
// entry, one that cannot be loaded, one that faults, a missing password-change
// library. The saver-running state is kept per process here, so a probe
// library inside the saver reports it: raised while a verifier is loaded, and
// lowered by the end of the process on every path that raised it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/KeptSettings.h"
#include "support/SaverProcess.h"

namespace {

std::string Probe() { return ProgramFolder() + "reliability\\PASSWORD.CPL"; }
std::string EntrylessProbe() { return ProgramFolder() + "reliability\\entryless\\PASSWORD.CPL"; }

// The probe's lines for one process, without the process number.
std::vector<std::string> ProbeLines(const std::string& log, DWORD processId)
{
    std::vector<std::string> lines;
    std::istringstream text(ReadWholeFile(log));
    const std::string prefix = std::to_string(processId) + " ";
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line.substr(prefix.size()));
    }
    return lines;
}

typedef std::vector<std::string> Lines;

class Faults : public ::testing::Test {
protected:
    void SetUp() override
    {
        // No crash dialog for the children (and, below, no debugger): the
        // platform's standard treatment of a fault then lets the guard act.
        SetErrorMode(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
        SetUsePassword(true);
        folder = MakeScratchFolder("faults");
        saver = folder + "Embrix.scr";
        log = folder + "probe.log";
        ASSERT_TRUE(CopyFileA(SaverPath().c_str(), saver.c_str(), FALSE)) << SaverPath();
    }
    void TearDown() override { RemoveScratchFolder(folder); }

    void PutVerifier(const std::string& library)
    {
        ASSERT_TRUE(CopyFileA(library.c_str(), (folder + "PASSWORD.CPL").c_str(), FALSE)) << library;
    }

    // The probe stays to the end of the process, so that it sees the last state.
    ExtraEnvironment ProbeEnvironment(const char* answer) const
    {
        return {{"EMBRIX_PROBE_LOG", log}, {"EMBRIX_PROBE_STAY", "1"}, {"EMBRIX_PROBE_ANSWER", answer}};
    }

    // Starts a full-screen run and posts one key; the exit code.
    DWORD RunAndPressAKey(const ExtraEnvironment& environment)
    {
        SaverProcess run;
        if (!StartSaver(saver, "/s", run, environment)) return NoExit;
        HWND window = WaitForFullScreen(run);
        EXPECT_TRUE(window) << "no full-screen window";
        if (window) PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        last = run.id;
        return WaitForExit(run);
    }

    KeptSettings kept;
    NoFaultDebugger noDebugger;
    std::string folder, saver, log;
    DWORD last = 0;
};

TEST_F(Faults, VerifierWithoutItsEntryIsNoPasswordAndRaisesNothing)
{
    PutVerifier(EntrylessProbe());
    EXPECT_EQ(RunAndPressAKey(ProbeEnvironment("accept")), 0u) << "the first key closes";
    EXPECT_EQ(ProbeLines(log, last), (Lines{"attach running=0", "exit running=0"}));
}

TEST_F(Faults, VerifierThatCannotBeLoadedIsNoPassword)
{
    ASSERT_TRUE(WriteWholeFile(folder + "PASSWORD.CPL", std::string(4096, 'x')));
    EXPECT_EQ(RunAndPressAKey({}), 0u) << "the first key closes";
}

TEST_F(Faults, FaultingVerifierEndsThroughTheGuardWithTheStateLowered)
{
    PutVerifier(Probe());
    // The guard's result is that of lowering the state: 1 for success.
    EXPECT_EQ(RunAndPressAKey(ProbeEnvironment("fault")), 1u);
    EXPECT_EQ(ProbeLines(log, last),
              (Lines{"attach running=0", "verify running=1 fault", "exit running=0"}));
}

TEST_F(Faults, RefusedThenAcceptedCloseLowersTheStateAtTheEnd)
{
    PutVerifier(Probe());
    SaverProcess run;
    ASSERT_TRUE(StartSaver(saver, "/s", run, ProbeEnvironment("refuse-first")));
    HWND window = WaitForFullScreen(run);
    ASSERT_TRUE(window);
    // Keys until the saver ends: the first is refused, requests within the
    // verifier's interval are dropped, a later one is accepted.
    const DWORD start = GetTickCount();
    while (StillRunning(run) && GetTickCount() - start < Patience) {
        PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        Pump(400);
    }
    EXPECT_EQ(WaitForExit(run), 0u);
    EXPECT_EQ(ProbeLines(log, run.id),
              (Lines{"attach running=0", "verify running=1 refuse", "verify running=1 accept",
                     "exit running=0"}));
}

TEST_F(Faults, PreviewNeverLoadsTheVerifier)
{
    PutVerifier(Probe());
    HWND parent = CreateWindowExA(0, "STATIC", "Preview parent", WS_POPUP | WS_VISIBLE, 0, 0, 152,
                                  112, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    SaverProcess run;
    ASSERT_TRUE(StartSaver(saver, "/p " + std::to_string(reinterpret_cast<ULONG_PTR>(parent)), run,
                           ProbeEnvironment("accept")));
    HWND preview = WaitForPreview(parent, run);
    EXPECT_TRUE(preview);
    DestroyWindow(parent);
    EXPECT_EQ(WaitForExit(run), 0u);
    EXPECT_EQ(ProbeLines(log, run.id), Lines{});
}

TEST_F(Faults, SecondFullScreenRunLoadsNothing)
{
    PutVerifier(Probe());
    SaverProcess first;
    ASSERT_TRUE(StartSaver(saver, "/s", first, ProbeEnvironment("accept")));
    HWND window = WaitForFullScreen(first);
    ASSERT_TRUE(window);
    SaverProcess second;
    ASSERT_TRUE(StartSaver(saver, "/s", second, ProbeEnvironment("accept")));
    const DWORD secondId = second.id;
    EXPECT_EQ(WaitForExit(second), 0u);
    EXPECT_EQ(ProbeLines(log, secondId), Lines{});

    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(WaitForExit(first), 0u);
    EXPECT_EQ(ProbeLines(log, first.id),
              (Lines{"attach running=0", "verify running=1 accept", "exit running=0"}));
}

// Password change without its library: the platform's own one switched off,
// or a broken file in its place that nothing else may stand in for.
class MissingPasswordChange : public Faults,
                              public ::testing::WithParamInterface<const char*> {};

TEST_P(MissingPasswordChange, EndsWithZero)
{
    const bool brokenFile = std::string(GetParam()) == "broken";
    if (brokenFile) {
        ASSERT_TRUE(WriteWholeFile(folder + "MPR.DLL", std::string(4096, 'x')));
    }
    const std::string overrides = EnvironmentValue("WINEDLLOVERRIDES");
    const ExtraEnvironment environment = {
        {"WINEDLLOVERRIDES", overrides + (overrides.empty() ? "" : ";") + (brokenFile ? "mpr=n" : "mpr=")}};

    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(owner);
    for (const std::string& tail :
         {"/a " + std::to_string(reinterpret_cast<ULONG_PTR>(owner)), std::string("/a")}) {
        SaverProcess run;
        ASSERT_TRUE(StartSaver(saver, tail, run, environment));
        EXPECT_EQ(WaitForExit(run), 0u) << tail;
    }
    DestroyWindow(owner);
}

INSTANTIATE_TEST_SUITE_P(Library, MissingPasswordChange, ::testing::Values("disabled", "broken"));

}  // namespace
