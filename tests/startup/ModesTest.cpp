// The saver's command-line modes seen from outside: the exit code of a
// command line it cannot use, and the owner that the password change gets.
#include <gtest/gtest.h>

#include "support/SaverProcess.h"

namespace {

constexpr DWORD Unusable = static_cast<DWORD>(-1);

TEST(Modes, UnusableCommandLineEndsAtOnceWithMinusOne)
{
    HWND gone = MakeTestWindow("Embrix gone");
    DestroyWindow(gone);
    for (const std::string& tail :
         {std::string("/x"), std::string("/p 0"), "/p " + HandleText(gone)})
        EXPECT_EQ(RunSaver(tail), Unusable) << tail;
}

// The saver and the password-change double together in a scratch folder,
// where the platform's own library is not taken instead of the double (the
// ctest entry runs with mpr=n,b in WINEDLLOVERRIDES, which Wine reads at start).
TEST(Modes, PasswordChangeIsOwnedByTheNamedWindowOrElseTheForeground)
{
    const std::string folder = MakeScratchFolder("change");
    const std::string saver = folder + "Embrix.scr", log = folder + "mpr.log";
    ASSERT_TRUE(CopyFileA(SaverPath().c_str(), saver.c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileA((ProgramFolder() + "mpr\\MPR.DLL").c_str(), (folder + "MPR.DLL").c_str(), FALSE))
        << "the password-change double belongs in " << ProgramFolder() << "mpr";
    ASSERT_NE(EnvironmentValue("WINEDLLOVERRIDES").find("mpr=n"), std::string::npos);
    SetEnvironmentVariableA("EMBRIX_MPR_DOUBLE_LOG", log.c_str());
    HWND owner = MakeTestWindow("Embrix owner");
    HWND gone = MakeTestWindow("Embrix gone");
    DestroyWindow(gone);
    HWND foreground = MakeTestWindow("Embrix foreground");
    SetForegroundWindow(foreground);
    Pump(50);
    ASSERT_EQ(GetForegroundWindow(), foreground) << "the test window could not come to the front";

    const struct {
        std::string tail;
        HWND owner;
    } rows[] = {{"/a " + HandleText(owner), owner},
                {"/a", foreground},
                {"/a " + HandleText(gone), foreground}};
    for (const auto& row : rows) {
        DeleteFileA(log.c_str());
        SaverProcess run;
        ASSERT_TRUE(StartSaver(saver, row.tail, run));
        EXPECT_EQ(WaitForExit(run), 0u) << row.tail;
        EXPECT_EQ(ReadWholeFile(log), "SCRSAVE " + HandleText(row.owner) + " 0 0\n") << row.tail;
    }
    DestroyWindow(owner);
    DestroyWindow(foreground);
    RemoveScratchFolder(folder);
}

}  // namespace
