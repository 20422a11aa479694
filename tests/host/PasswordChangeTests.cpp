// The platform's libraries as the saver finds them by name, each case in the
// ctest entry that sets Wine up for it (see inprocess.cmake):
//   PlatformLibraries         "mpr=n,b": a file named MPR.DLL is taken, not
//                             Wine's own. Each case first loads the file it
//                             wants by its path, so that the saver's
//                             LoadLibraryA by name finds that one.
//   WithoutPlatformLibraries  "mpr=" and "password.cpl=": neither loads.
#include <string>

#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"
#include "support/WindowHarness.h"

namespace {

class PlatformLibraries : public InProcessTest {
protected:
    void SetUp() override
    {
        InProcessTest::SetUp();
        changeLog = ProgramFolder() + "mpr-" + std::to_string(GetCurrentProcessId()) + ".log";
        DeleteFileA(changeLog.c_str());
        SetEnvironmentVariableA("EMBRIX_MPR_DOUBLE_LOG", changeLog.c_str());
        window = MakeChainEndWindow();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        if (held) FreeLibrary(held);
        SetEnvironmentVariableA("EMBRIX_MPR_DOUBLE_LOG", nullptr);
        DeleteFileA(changeLog.c_str());
        InProcessTest::TearDown();
    }
    // Loads the double in folder (below this program's) by its path.
    void Hold(const char* folder, const char* name)
    {
        const std::string path = ProgramFolder() + folder + name;
        held = LoadLibraryA(path.c_str());
        ASSERT_NE(held, nullptr) << path;
        char loaded[MAX_PATH] = "";
        GetModuleFileNameA(held, loaded, MAX_PATH);
        ASSERT_EQ(lstrcmpiA(loaded, path.c_str()), 0) << "Wine took its own " << name;
    }
    // Lets go of the double: the saver must hold no reference of its own.
    void Release(const char* name)
    {
        FreeLibrary(held);
        held = nullptr;
        EXPECT_EQ(GetModuleHandleA(name), nullptr) << name << " is still loaded";
    }
    std::string changeLog;
    HMODULE held = nullptr;
};

TEST_F(PlatformLibraries, PasswordChangePassesScrsaveTheOwnerAndTwoZeros)
{
    ASSERT_NO_FATAL_FAILURE(Hold("mpr\\", "MPR.DLL"));
    ChangeSaverPassword(window);
    EXPECT_EQ(ReadWholeFile(changeLog),
              "SCRSAVE " + std::to_string(reinterpret_cast<ULONG_PTR>(window)) + " 0 0\n");
    Release("MPR.DLL");
}

TEST_F(PlatformLibraries, PasswordChangeWithoutItsEntryDoesNothing)
{
    ASSERT_NO_FATAL_FAILURE(Hold("entryless\\", "MPR.DLL"));
    ChangeSaverPassword(window);
    EXPECT_TRUE(IsWindow(window));
    Release("MPR.DLL");
}

TEST_F(PlatformLibraries, VerifierWithoutItsEntryIsNotKeptAndRaisesNothing)
{
    ASSERT_NO_FATAL_FAILURE(Hold("entryless\\", "PASSWORD.CPL"));
    SetUsePassword(true);
    LoadPasswordVerifier();
    EXPECT_EQ(SaverHostState.passwordLibrary, nullptr);
    EXPECT_EQ(SaverHostState.verifyPassword, nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);
    Release("PASSWORD.CPL");

    // No password: the first close request closes.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PumpUntil([this] { return !IsWindow(window); }, Patience);
    EXPECT_FALSE(IsWindow(window));
}

using WithoutPlatformLibraries = PlatformLibraries;

TEST_F(WithoutPlatformLibraries, NeitherPasswordChangeNorVerifierHappens)
{
    // Proved here, in this process, under the setting the case runs with.
    for (const char* name : {"MPR.DLL", "PASSWORD.CPL"}) {
        HMODULE found = LoadLibraryA(name);
        if (found) FreeLibrary(found);
        ASSERT_EQ(found, nullptr) << name << " loads: run with mpr= and password.cpl=";
    }
    ChangeSaverPassword(window);
    EXPECT_EQ(ReadWholeFile(changeLog), "");

    SetUsePassword(true);
    LoadPasswordVerifier();
    EXPECT_EQ(SaverHostState.passwordLibrary, nullptr);
    EXPECT_EQ(SaverHostState.verifyPassword, nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);
}

}  // namespace
