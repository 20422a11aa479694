// Runs from <build>/tests/mpr beside the password-change double, with "mpr=n,b"
// so that Wine takes the double for "MPR.DLL". No "PASSWORD.CPL" lies here.
// The MprDisabled cases run as a separate ctest entry with "mpr" disabled.
#include <string>
#include "HostTestSupport.h"
#include "doubles/PasswordChangeDouble.h"
#include "host/PasswordVerifier.h"
#include "host/SaverHostState.h"

namespace {

template <typename Entry>
Entry FindEntry(HMODULE library, const char* name)
{
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

const char ChangeLog[] = "mpr_double.log";

class PasswordChange : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        DeleteFileA(ChangeLog);
        SetEnvironmentVariableA("EMBRIX_MPR_DOUBLE_LOG", ChangeLog);
        window = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("EMBRIX_MPR_DOUBLE_LOG", nullptr);
        DeleteFileA(ChangeLog);
        HostTest::TearDown();
    }
};

TEST_F(PasswordChange, PassesScrsaveTheOwnerAndTwoZeros)
{
    // Our own reference keeps the double's record alive after the product
    // frees the library, and shows that "MPR.DLL" is the double here.
    HMODULE held = LoadLibraryA("MPR.DLL");
    ASSERT_NE(held, nullptr);
    auto callCount = FindEntry<MprDoubleCallCountEntry>(held, "MprDoubleCallCount");
    auto lastCall = FindEntry<MprDoubleLastCallEntry>(held, "MprDoubleLastCall");
    ASSERT_TRUE(callCount && lastCall) << "Wine took its own mpr.dll";

    ChangeSaverPassword(window);

    EXPECT_EQ(callCount(), 1);
    char provider[32] = "";
    HWND owner = nullptr;
    DWORD third = 99, fourth = 99;
    ASSERT_TRUE(lastCall(provider, sizeof provider, &owner, &third, &fourth));
    EXPECT_STREQ(provider, "SCRSAVE");
    EXPECT_EQ(owner, window);
    EXPECT_EQ(third, 0u);
    EXPECT_EQ(fourth, 0u);
    EXPECT_EQ(ReadLogFile(ChangeLog),
              "SCRSAVE " + std::to_string(reinterpret_cast<ULONG_PTR>(window)) + " 0 0\n");
    FreeLibrary(held);
}

TEST_F(PasswordChange, MissingVerifierLibraryMeansNoPassword)
{
    HMODULE found = LoadLibraryA("PASSWORD.CPL");
    if (found)
        FreeLibrary(found);
    ASSERT_EQ(found, nullptr) << "a PASSWORD.CPL is reachable from here";

    SetUsePasswordDword(1);
    LoadPasswordVerifier();
    EXPECT_EQ(SaverHostState.passwordLibrary, nullptr);
    EXPECT_EQ(SaverHostState.verifyPassword, nullptr);
    EXPECT_EQ(SaverRunningState(), FALSE);
}

TEST_F(PasswordChange, MprDisabledDoesNothing)
{
    HMODULE found = LoadLibraryA("MPR.DLL");
    if (found)
        FreeLibrary(found);
    ASSERT_EQ(found, nullptr) << "run with mpr disabled in WINEDLLOVERRIDES";

    ChangeSaverPassword(window);
    EXPECT_EQ(ReadLogFile(ChangeLog), "(no file)");
}

}  // namespace
