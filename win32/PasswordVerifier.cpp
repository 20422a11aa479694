#include "win32/PasswordVerifier.h"
#include "win32/SaverHostState.h"

namespace {

// GetProcAddress gives a generic entry; going through void(*)() tells the
// compiler the real type is known to us, not to it.
template <typename Entry>
Entry FindEntry(HMODULE library, const char* name)
{
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// The first four bytes of the value as a little-endian number, whatever its
// type; a shorter value leaves the missing high bytes 0. False when the value
// is missing or longer than four bytes.
bool ReadUsePassword(HKEY key, DWORD* usePassword)
{
    BYTE data[4] = {0, 0, 0, 0};
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return false;
    *usePassword = static_cast<DWORD>(data[0]) | static_cast<DWORD>(data[1]) << 8 |
                   static_cast<DWORD>(data[2]) << 16 | static_cast<DWORD>(data[3]) << 24;
    return true;
}

}  // namespace

void LoadPasswordVerifier()
{
    if (SaverHostState.passwordLibrary) UnloadPasswordVerifier();

    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS) return;

    DWORD usePassword = 0;
    if (ReadUsePassword(key, &usePassword) && usePassword != 0) {
        SaverHostState.passwordLibrary = LoadLibraryA("PASSWORD.CPL");
        if (SaverHostState.passwordLibrary) {
            SaverHostState.verifyPassword = FindEntry<VerifyPasswordEntry>(
                SaverHostState.passwordLibrary, "VerifyScreenSavePwd");
            if (SaverHostState.verifyPassword)
                SetSaverRunning(TRUE);
            else
                UnloadPasswordVerifier();
        }
    }
    RegCloseKey(key);
}

void UnloadPasswordVerifier()
{
    if (!SaverHostState.passwordLibrary) return;
    FreeLibrary(SaverHostState.passwordLibrary);
    SaverHostState.passwordLibrary = nullptr;
    if (SaverHostState.verifyPassword) {
        SaverHostState.verifyPassword = nullptr;
        SetSaverRunning(FALSE);
    }
}

LRESULT VerifyBeforeClose(HWND window)
{
    // The verifier is already asking: it alone decides.
    if (SaverHostState.verifierActive) return 0;
    if (!SaverHostState.verifyPassword) {
        SaverHostState.closeAllowed = 1;
        return 1;
    }

    const DWORD now = GetTickCount();
    if (SaverHostState.lastVerifyTick != 0xFFFFFFFFu &&
        TickDifference(SaverHostState.lastVerifyTick, now) < VerifyInterval)
        return 0;

    SaverHostState.verifierActive = 1;
    // Frames queued behind the close request would only be drawn under the
    // verifier's dialog.
    MSG dropped;
    PeekMessageA(&dropped, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&dropped, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    SaverHostState.closeAllowed = static_cast<DWORD>(SendMessageA(window, MsgVerifyPassword, 0, 0));
    SaverHostState.verifierActive = 0;

    if (SaverHostState.closeAllowed == 0) SetCursor(nullptr);
    // The interval runs from the end of this run, however long the user typed.
    SaverHostState.lastVerifyTick = GetTickCount();
    return SaverHostState.closeAllowed;
}

DWORD TickDifference(DWORD earlier, DWORD later)
{
    return later - earlier;
}

void ChangeSaverPassword(HWND owner)
{
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (!library) return;
    ChangePasswordEntry change = FindEntry<ChangePasswordEntry>(library, "PwdChangePasswordA");
    if (change) change("SCRSAVE", owner, 0, 0);
    FreeLibrary(library);
}
