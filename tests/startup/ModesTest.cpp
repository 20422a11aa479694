// The saver's command-line modes seen from outside: exit codes of unusable
// command lines, the preview inside a real window, the password change.
#include <gtest/gtest.h>

#include <string>

#include "support/SaverProcess.h"

namespace {

constexpr DWORD Unusable = static_cast<DWORD>(-1);

std::string HandleText(HWND window) {
    return std::to_string(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
}

DWORD RunSaver(const std::string& tail) {
    return RunToExit(SaverPath(), QuotedCommand(SaverPath(), tail));
}

TEST(UnusableCommandLine, EndsAtOnceWithMinusOne) {
    ASSERT_NE(GetFileAttributesA(SaverPath().c_str()), INVALID_FILE_ATTRIBUTES) << SaverPath();
    EXPECT_EQ(RunSaver("/x"), Unusable);
    EXPECT_EQ(RunSaver("-/x /s"), Unusable);
    EXPECT_EQ(RunSaver("/\ts"), Unusable);   // a tab is no separator
    EXPECT_EQ(RunSaver("- \t/s"), Unusable);
    EXPECT_EQ(RunSaver("5"), Unusable);
    EXPECT_EQ(RunSaver("/1 /s"), Unusable);
}

TEST(UnusableCommandLine, HighByteSelectsNoMode) {
    // The byte must reach the saver unchanged, which a double-byte code page
    // would not promise.
    if (IsDBCSLeadByte(0x80) || IsDBCSLeadByte(0xE1)) GTEST_SKIP() << "code page " << GetACP();
    EXPECT_EQ(RunSaver("\x80"), Unusable);
    EXPECT_EQ(RunSaver("/\x80"), Unusable);
    EXPECT_EQ(RunSaver("-\xE1"), Unusable);
}

TEST(Preview, WithoutAUsableWindowEndsWithMinusOne) {
    HWND parent = MakeTestWindow("Embrix preview parent");
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(RunSaver("/p"), Unusable);
    EXPECT_EQ(RunSaver("/p 0"), Unusable);
    EXPECT_EQ(RunSaver("/p abc"), Unusable);
    EXPECT_EQ(RunSaver("/p:" + HandleText(parent)), Unusable);  // the colon stays
    EXPECT_EQ(RunSaver("/p\t" + HandleText(parent)), Unusable);
    DestroyWindow(parent);
    EXPECT_EQ(RunSaver("/p " + HandleText(parent)), Unusable);  // stale now
}

// Runs the preview inside a fresh window, ends it by destroying the parent.
void ExpectPreviewRuns(const char* form) {
    HWND parent = MakeTestWindow("Embrix preview parent");
    ASSERT_NE(parent, nullptr);
    char tail[64];
    wsprintfA(tail, form, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(parent)));
    SaverProcess running;
    ASSERT_TRUE(StartSaver(SaverPath(), tail, running)) << tail;
    HWND preview = WaitForPreview(parent, running);
    EXPECT_NE(preview, nullptr) << tail;
    if (preview != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(preview, &owner);
        EXPECT_EQ(owner, running.id);
        EXPECT_TRUE(GetWindowLongA(preview, GWL_STYLE) & WS_CHILD);
    }
    DestroyWindow(parent);
    EXPECT_EQ(WaitForExit(running), 0u) << tail;
}

TEST(Preview, RunsInsideTheNamedWindowUntilItIsDestroyed) {
    ExpectPreviewRuns("/p %lu");
    ExpectPreviewRuns("-L%lu");
    ExpectPreviewRuns("/ /p    %lu /s");
}

// The saver and the password-change double together in a scratch folder,
// where the platform's own library is not taken instead of the double.
struct PasswordChangeTest : ::testing::Test {
    void SetUp() override {
        folder = MakeScratchFolder("change");
        saver = folder + "Embrix.scr";
        log = folder + "mpr.log";
        ASSERT_TRUE(CopyInto(SaverPath(), folder, "Embrix.scr"));
        ASSERT_TRUE(CopyInto(ProgramFolder() + "mpr\\MPR.DLL", folder, "MPR.DLL"))
            << "the password-change double belongs in " << ProgramFolder() << "mpr";
        // Wine reads its library overrides from the environment it was started
        // with, not from the one a parent hands over: the runner sets it.
        ASSERT_NE(EnvironmentValue("WINEDLLOVERRIDES").find("mpr=n"), std::string::npos)
            << "run with mpr=n,b in WINEDLLOVERRIDES";
        foreground = MakeTestWindow("Embrix foreground");
        SetForegroundWindow(foreground);
        Pump(50);
    }
    void TearDown() override {
        if (foreground) DestroyWindow(foreground);
        RemoveScratchFolder(folder);
    }

    // The lines the double logged for one run, and the run's exit code.
    std::string Change(const std::string& tail, DWORD& exitCode) {
        DeleteFileA(log.c_str());
        ChildEnvironment logTo("EMBRIX_MPR_DOUBLE_LOG", log);
        exitCode = RunToExit(saver, QuotedCommand(saver, tail));
        return ReadWholeFile(log);
    }

    std::string folder, saver, log;
    HWND foreground = nullptr;
};

TEST_F(PasswordChangeTest, NamedWindowIsTheOwner) {
    HWND owner = MakeTestWindow("Embrix owner");
    DWORD exitCode = 1;
    EXPECT_EQ(Change("/a " + HandleText(owner), exitCode), "SCRSAVE " + HandleText(owner) + " 0 0\n");
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(Change("-A" + HandleText(owner), exitCode), "SCRSAVE " + HandleText(owner) + " 0 0\n");
    EXPECT_EQ(exitCode, 0u);
    DestroyWindow(owner);
}

TEST_F(PasswordChangeTest, OtherwiseTheForegroundWindowIsTheOwner) {
    ASSERT_EQ(GetForegroundWindow(), foreground) << "the test window could not come to the front";
    const std::string expected = "SCRSAVE " + HandleText(foreground) + " 0 0\n";
    HWND stale = MakeTestWindow("Embrix gone");
    DestroyWindow(stale);
    SetForegroundWindow(foreground);
    Pump(50);
    for (const std::string& tail : {std::string("/a"), std::string("/a 0"), std::string("a:12"),
                                    "/a " + HandleText(stale)}) {
        DWORD exitCode = 1;
        EXPECT_EQ(Change(tail, exitCode), expected) << tail;
        EXPECT_EQ(exitCode, 0u) << tail;
    }
}

}  // namespace
