// Shared by the window tests: fresh process records, a saver window made
// the way the host makes it, and message pumping with generous deadlines.
#pragma once
#include <windows.h>

#include <functional>

// Puts the host, effect and simulation records back to their start values.
void ResetSaverRecords();

// Registers the saver class once per process, with the host's procedure.
void RegisterSaverClassForTests();

// A saver window as the host makes it: preview inside parent, or full screen.
HWND CreateSaverWindowForTests(HWND parent);

// A plain top-level window whose client area is width x height; it records
// the messages posted to it in LastParentMessage.
HWND CreateTestParent(int width, int height);
struct ParentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
extern ParentMessage LastParentMessage;

// Set when PumpUntil meets the quit message, which it swallows.
extern bool QuitSeen;

// Dispatches messages until done() holds or timeoutMs pass; true if done.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpFor(DWORD ms);
