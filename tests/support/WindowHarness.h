// What the in-process tests share: fresh process records, the saver window
// run by the host's own code, a preview parent that records what it gets, a
// window at the end of the saver's chain, the platform's saver-running state
// and the verifier double's extra entries.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "doubles/VerifierDouble.h"
#include "support/KeptSettings.h"
#include "support/SaverProcess.h"

#ifndef SPI_GETSCREENSAVERRUNNING
#define SPI_GETSCREENSAVERRUNNING 114
#endif

// What RunSaverWith gives when the destroyed window posted no quit.
constexpr int NoQuit = 0x5157;

// Runs the saver window as the saver does (RunSaverWindow: full screen, or
// a preview inside parent); body gets the window inside the run's message
// loop, and the window is closed after it. The run's result.
int RunSaverWith(HWND parent, const std::function<void(HWND saver)>& body);

// Dispatches messages until done() holds or ms pass; true if done. A quit
// message ends it and is left for the loop.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);

// A visible frameless top-level window with a client area of width x height;
// the last help or context-menu message it gets lands in ParentMessage.
HWND MakeRecordingParent(int width, int height);
extern MSG ParentMessage;

// A hidden window (a child of parent, if any) of a class with an arrow
// pointer whose procedure is DefaultSaverProc, as at the end of the chain.
HWND MakeChainEndWindow(HWND parent = nullptr);

// Removes the close requests posted to window; how many there were.
int TakePostedCloses(HWND window);

// SPI_GETSCREENSAVERRUNNING as this process sees it.
BOOL SaverRunningState();

// "ScreenSaveUsePassword" with exactly these bytes.
void SetUsePasswordBytes(DWORD type, const void* data, DWORD size);

struct VerifierDoubleEntries {
    VerifierDoubleResetEntry reset;
    VerifierDoubleScriptEntry script;
    VerifierDoubleDuringCallEntry duringCall;
    VerifierDoubleCallCountEntry callCount;
    VerifierDoubleCallAtEntry callAt;
};
// The extra entries of the loaded "PASSWORD.CPL"; false when it is not the double.
bool FindVerifierDouble(VerifierDoubleEntries* entries);

// Each case starts as a fresh saver process would, with no settings and no
// password, and leaves no verifier, window or raised state behind.
class InProcessTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    KeptSettings kept;
    HWND window = nullptr;
    HWND parent = nullptr;
};

// Each row's own name, for parameterised cases.
template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& row)
{
    return row.param.name;
}
