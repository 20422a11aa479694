// The in-process tests' harness.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "win32/doubles/VerifierDouble.h"
#include "support/TestSupport.h"

// RunSaverWindow(parent) as the saver runs it (full screen, or a preview in
// parent); body gets the window inside the run's loop, which is closed after.
// A run whose window posts no quit returns 0x5157.
int RunSaverWith(HWND parent, const std::function<void(HWND saver)>& body);
// A hidden window (a child of parent, if any) run by DefaultSaverProc, the
// end of the saver's chain; its class cursor is the arrow.
HWND MakeChainEndWindow(HWND parent = nullptr);
int TakePostedCloses(HWND window);  // removes them; how many
BOOL SaverRunningState();           // as this process sees it
HCURSOR Arrow();

VerifierDoubleRecord* TakeVerifierDouble();  // the loaded PASSWORD.CPL's, emptied; or null

// As a fresh saver process, no settings, no password; nothing left behind.
struct InProcessTest : ::testing::Test {
    void SetUp() override;
    void TearDown() override;
    KeptSettings kept;
    const std::string log = ProgramFolder() + "probe.log";  // the verifier double's
    HWND window = nullptr, parent = nullptr;
};
