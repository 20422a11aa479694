// What the host's tests share: a real saver window whose class procedure ends
// in DefaultSaverProc, the registry value, the platform's saver-running state
// and the verifier double's extra entries.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include "doubles/VerifierDouble.h"

#ifndef SPI_GETSCREENSAVERRUNNING
#define SPI_GETSCREENSAVERRUNNING 114
#endif

// A hidden pop-up (or a child of parent) of a class with an arrow pointer, so
// that DefWindowProcA's own pointer handling shows the pointer.
HWND MakeSaverTestWindow(HWND parent = nullptr);

// Removes the close requests posted to window; returns how many there were.
int TakePostedCloses(HWND window);

// Dispatches queued messages until window is gone or the queue stays empty.
void PumpUntilGone(HWND window);

// HKCU\Control Panel\Desktop\ScreenSaveUsePassword with exactly these bytes.
void SetUsePassword(DWORD type, const void* data, DWORD size);
void SetUsePasswordDword(DWORD value);
void DeleteUsePassword();

// The platform's saver-running state as SPI_GETSCREENSAVERRUNNING reports it.
BOOL SaverRunningState();

HCURSOR ArrowCursor();

// The whole text of a double's log file; "(no file)" when there is none.
std::string ReadLogFile(const char* path);

struct VerifierDoubleEntries {
    VerifierDoubleResetEntry reset;
    VerifierDoubleScriptEntry script;
    VerifierDoubleDuringCallEntry duringCall;
    VerifierDoubleCallCountEntry callCount;
    VerifierDoubleCallAtEntry callAt;
};

// The extra entries of the verifier double the process has loaded; false when
// "PASSWORD.CPL" is not loaded or is not the double.
bool FindVerifierDouble(VerifierDoubleEntries* entries);

// Every case starts from the start values and a clean registry value, and
// leaves no verifier, window, value or raised saver-running state behind.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND window = nullptr;
};
