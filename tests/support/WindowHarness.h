// What the in-process tests share: fresh process records, the saver window
// run by the host's own code, a preview parent that records what it gets, a
// window at the end of the saver's chain and the verifier double's entries.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "doubles/VerifierDouble.h"
#include "support/KeptSettings.h"
#include "support/SaverProcess.h"

// RunSaverWindow(parent) as the saver runs it (full screen, or a preview in
// parent); body gets the window inside the run's loop, which is closed after.
// A run whose window posts no quit returns 0x5157.
int RunSaverWith(HWND parent, const std::function<void(HWND saver)>& body);
// Dispatches messages until done() or ms pass; a quit ends it, left for the loop.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = Patience);

// A visible frameless parent, client area width x height, that keeps the last
// help or context-menu message it gets in ParentMessage.
HWND MakeRecordingParent(int width, int height);
extern MSG ParentMessage;
// A hidden window (a child of parent, if any) run by DefaultSaverProc, the
// end of the saver's chain; its class cursor is the arrow.
HWND MakeChainEndWindow(HWND parent = nullptr);
int TakePostedCloses(HWND window);  // removes them; how many
BOOL SaverRunningState();           // as this process sees it
HCURSOR Arrow();

struct VerifierDoubleEntries {
    VerifierDoubleResetEntry reset;
    VerifierDoubleScriptEntry script;
    VerifierDoubleDuringCallEntry duringCall;
    VerifierDoubleCallCountEntry callCount;
    VerifierDoubleCallAtEntry callAt;
};
bool FindVerifierDouble(VerifierDoubleEntries& entries);  // in the loaded PASSWORD.CPL

// A row of a parameterised window case.
struct WindowCase {
    const char* name;
    int width, height;  // the preview's parent; 0 for full screen
    const char* lines;  // the saver's settings
};

// Each case starts as a fresh saver process, with no settings and no
// password, and leaves no verifier, window or raised state behind.
class InProcessTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    KeptSettings kept;
    HWND window = nullptr;
    HWND parent = nullptr;
};
