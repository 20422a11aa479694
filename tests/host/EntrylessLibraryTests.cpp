// Runs from <build>/tests/entryless, where "PASSWORD.CPL" and "MPR.DLL" load
// but lack their entries, with "mpr=n,b" so that Wine takes the local file.
#include "HostTestSupport.h"
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"

namespace {

// The loader finds the entryless file under this name, not something else.
bool FindsEntrylessLibrary(const char* name)
{
    HMODULE library = LoadLibraryA(name);
    if (!library)
        return false;
    const bool marked = GetProcAddress(library, "EntrylessLibraryMarker") != nullptr;
    FreeLibrary(library);
    return marked && GetModuleHandleA(name) == nullptr;
}

using EntrylessLibrary = HostTest;

TEST_F(EntrylessLibrary, VerifierWithoutItsEntryIsNotKeptAndRaisesNothing)
{
    ASSERT_TRUE(FindsEntrylessLibrary("PASSWORD.CPL"));
    SetUsePasswordDword(1);
    LoadPasswordVerifier();
    EXPECT_EQ(SaverHostState.passwordLibrary, nullptr);
    EXPECT_EQ(SaverHostState.verifyPassword, nullptr);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);

    // No password: the first close request closes.
    window = MakeSaverTestWindow();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PumpUntilGone(window);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(EntrylessLibrary, PasswordChangeWithoutItsEntryDoesNothing)
{
    ASSERT_TRUE(FindsEntrylessLibrary("MPR.DLL"));
    window = MakeSaverTestWindow();
    ChangeSaverPassword(window);
    EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr);
    EXPECT_TRUE(IsWindow(window));
}

}  // namespace
