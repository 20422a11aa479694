// The hack's command line: where it draws, the four fire settings and the
// frame pace. Plain text work, so that it runs and is tried without a display.
#pragma once
#include <cstdint>
#include <string>

#include "fire/FireSettings.h"

enum class HackTarget {
    OwnWindow,  // neither --root nor --window-id: a window of its own
    Root,       // $XSCREENSAVER_WINDOW, else the root window
    WindowId,   // the window given by --window-id
};

// The pace of the Windows saver on a default system: its 1 ms timer fires
// once per 15.625 ms clock tick.
constexpr int32_t DefaultFrameDelay = 15625;

struct HackOptions {
    HackTarget target = HackTarget::OwnWindow;
    uint32_t windowId = 0;
    FireSettingsRecord settings = DefaultFireSettings;
    int32_t delay = DefaultFrameDelay;  // microseconds from frame to frame
    int32_t frames = 0;                 // stop after so many; 0: run until ended
};

// Reads argv[1..argc-1]; -name and --name alike, each value the next
// argument. Settings take any 32-bit decimal number, as the settings file
// does; --delay and --frames 0 or more; --window-id decimal or 0x hex. On failure
// returns false with a one-line message quoting the argument at fault
// (control bytes written as \xNN).
bool ParseHackOptions(int argc, const char* const* argv, HackOptions& options, std::string& error);

// A window id as $XSCREENSAVER_WINDOW and --window-id give it: decimal or
// 0x hex, nothing after it, within 32 bits.
bool ParseWindowId(const char* text, uint32_t& id);
