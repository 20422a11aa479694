// What the saver drivers share: the saver started full screen the way the
// platform starts it, its window, and its frames counted from inside its
// thread by FrameCountHook.dll.
#pragma once
#include <windows.h>

#include <string>

#include "bench/FrameCountHook.h"

std::string ProgramFolder();  // this program's folder, with a trailing backslash

// Starts "<saver>" /s; false when it could not start.
bool StartFullScreenSaver(const std::string& saver, PROCESS_INFORMATION& process);
// The saver's full-screen window, or null when it did not come within a
// minute or the process ended first.
HWND WaitForSaverWindow(const PROCESS_INFORMATION& saver);

// FrameCountHook.dll (beside this program) hooked into the saver's thread;
// hook is null when that could not be done.
struct FrameCounter {
    HHOOK hook;
    RequestFrameSampleFunction request;
    TakenFrameSampleFunction taken;
};
FrameCounter StartCountingFrames(DWORD saverThread);
// Frames and CPU time at one timer message of the saver; false when nothing
// is counted or no timer message came within a few seconds.
bool TakeFrameSample(const FrameCounter& counter, FrameSample& sample);
