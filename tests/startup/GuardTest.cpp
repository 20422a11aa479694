// An exception that escapes a running mode: the saver lowers the platform's
// saver-running state and ends with that call's result. The fault comes from
// the password verifier double, inside a full-screen run's close request.
#include <gtest/gtest.h>

#include <string>

#include "support/KeptSettings.h"
#include "support/SaverProcess.h"

namespace {

struct GuardTest : ::testing::Test {
    void SetUp() override {
        // No crash dialog: the children inherit the error mode.
        SetErrorMode(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS);
        SetUsePassword(true);
        folder = MakeScratchFolder("guard");
        saver = folder + "Embrix.scr";
        log = folder + "verifier.log";
        ASSERT_TRUE(CopyInto(SaverPath(), folder, "Embrix.scr"));
        ASSERT_TRUE(CopyInto(ProgramFolder() + "PASSWORD.CPL", folder, "PASSWORD.CPL"))
            << "the verifier double belongs in " << ProgramFolder();
    }
    void TearDown() override { RemoveScratchFolder(folder); }

    // A full-screen run whose verifier answers as told; the first close
    // request goes to the verifier. Gives the exit code.
    DWORD RunAndClose(const char* verifierAnswer) {
        DeleteFileA(log.c_str());
        ChildEnvironment answer("EMBRIX_VERIFIER_DOUBLE", verifierAnswer);
        ChildEnvironment logTo("EMBRIX_VERIFIER_DOUBLE_LOG", log);
        SaverProcess running;
        if (!StartSaver(saver, "/s", running)) return NoExit;
        HWND window = WaitForFullScreen(running);
        EXPECT_NE(window, nullptr) << "no full-screen window";
        if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
        const DWORD exitCode = WaitForExit(running);
        EXPECT_NE(exitCode, NoExit) << "the run did not end";
        return exitCode;
    }

    size_t VerifierCalls() const {
        const std::string text = ReadWholeFile(log);
        size_t lines = 0;
        for (char c : text) lines += c == '\n';
        return lines;
    }

    KeptSettings kept;
    NoFaultDebugger noDebugger;
    std::string folder, saver, log;
};

TEST_F(GuardTest, AnAcceptedCloseEndsTheRunNormally) {
    EXPECT_EQ(RunAndClose("accept"), 0u);
    EXPECT_EQ(VerifierCalls(), 1u);
}

TEST_F(GuardTest, AFaultInsideTheRunEndsWithTheResultOfLoweringTheRunningState) {
    // SetSaverRunning(FALSE) succeeds here, so the result is 1 rather than
    // the access violation's code.
    EXPECT_EQ(RunAndClose("fault"), 1u);
    EXPECT_EQ(VerifierCalls(), 1u);
    BOOL running = TRUE;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0));
    EXPECT_FALSE(running);
}

}  // namespace
