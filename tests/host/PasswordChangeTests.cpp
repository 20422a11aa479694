// The platform's libraries as the saver finds them by name. PlatformLibraries
// runs with mpr=n,b, so Wine takes a file named MPR.DLL: each case loads the
// double it wants by path, and the saver's LoadLibraryA by name finds it.
// WithoutPlatformLibraries runs with mpr= and password.cpl=: neither loads.
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"
#include "support/WindowHarness.h"

namespace {

class PlatformLibraries : public InProcessTest {
  protected:
    void SetUp() override
    {
        InProcessTest::SetUp();
        ASSERT_TRUE(window = MakeChainEndWindow());
    }
    // Holds the double in folder while the saver loads it by name, then lets
    // go: the saver must keep no reference of its own.
    void WithDouble(const std::string& folder, const char* name, const std::function<void()>& use)
    {
        const std::string path = ProgramFolder() + folder + name;
        HMODULE held = LoadLibraryA(path.c_str());
        char loaded[MAX_PATH] = "";
        GetModuleFileNameA(held, loaded, MAX_PATH);
        ASSERT_EQ(lstrcmpiA(loaded, path.c_str()), 0) << "not the double " << path;
        use();
        FreeLibrary(held);
        EXPECT_EQ(GetModuleHandleA(name), nullptr) << name << " is still loaded";
    }
};

TEST_F(PlatformLibraries, LibrariesWithoutTheirEntryMeanNoChangeAndNoPassword)
{
    WithDouble("entryless\\", "MPR.DLL", [&] { ChangeSaverPassword(window); });
    WithDouble("entryless\\", "PASSWORD.CPL", [] {
        SetUsePassword(true);
        LoadPasswordVerifier();
        EXPECT_EQ(SaverHostState.passwordLibrary, nullptr);
        EXPECT_EQ(SaverHostState.verifyPassword, nullptr);
        EXPECT_EQ(SaverRunningState(), FALSE);
    });
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);  // no password: the first close closes
    PumpUntil([this] { return !IsWindow(window); });
    EXPECT_FALSE(IsWindow(window));
}

using WithoutPlatformLibraries = PlatformLibraries;

TEST_F(WithoutPlatformLibraries, NeitherPasswordChangeNorVerifierHappens)
{
    for (const char* name : {"MPR.DLL", "PASSWORD.CPL"}) {  // proved in this process
        HMODULE found = LoadLibraryA(name);
        if (found) FreeLibrary(found);
        ASSERT_EQ(found, nullptr) << name << " loads: run with mpr= and password.cpl=";
    }
    ChangeSaverPassword(window);
    SetUsePassword(true);
    LoadPasswordVerifier();
    EXPECT_EQ(SaverHostState.passwordLibrary, nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);
}

}  // namespace
