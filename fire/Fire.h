// One fire and its frames: what a host makes for each area it burns in
// (a monitor, a preview, a window) and drives once per frame.
#pragma once
#include <cstdint>

#include "fire/FireRowKernels.h"
#include "fire/FireSettings.h"
#include "fire/FireSimulation.h"
#include "fire/ScreenLayout.h"

struct Fire {
    FireSettingsRecord settings;
    FramePlacement place;  // where the picture goes, in the host's coordinates
    FireField field;
    const FireRowKernels* rows;
    // The picture as palette indices: the shown grid + FireIndexBase,
    // SurfaceStride(width) bytes a row; none when memory ran out.
    uint8_t* surface;
    uint32_t randomSeed;
    int32_t newFireCountdown;  // frames to the next sowing; 0 sows on the next
    int32_t unshownFrom;       // the host has yet to show the rows from here down
};

// A fire for area with settings: a grid of the area's size over the "Size"
// divisor, cold, and a generator started at seed. Without memory for its
// grids and picture it makes no frames.
void CreateFire(Fire& fire, const ScreenRect& area, const FireSettingsRecord& settings,
                uint32_t seed);

// Grids and picture for a new area, cold; the generator and the countdown
// go on where they were.
void ResizeFire(Fire& fire, const ScreenRect& area);

// One frame: sow when the countdown is 0 and reload it, else count down;
// spread; bring the picture up to date. Returns the first row of the
// picture the host must show again: every row from it to the bottom;
// field.height when there is nothing to show.
int32_t RunFireFrame(Fire& fire);

// The host's window lost the picture (an erase, an expose, a repaint): the
// next frame has the host show all of it.
void ShowWholeFire(Fire& fire);

// Frees grids and picture; the record is left empty.
void DestroyFire(Fire& fire);
