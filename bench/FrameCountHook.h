// What the frame-counting hook library notes in the saver's process.
#pragma once
#include <windows.h>

struct FrameSample {
    LONG frames;       // timer messages taken so far, this one included
    LONGLONG cpuTime;  // the process's user + kernel time, 100 ns units
    LONGLONG counter;  // QueryPerformanceCounter at that moment
};

// Exports, looked up by name: RequestFrameSample asks for a sample at the
// saver's next timer message and returns the request's number;
// TakenFrameSample gives that sample once it has been taken.
using RequestFrameSampleFunction = LONG(WINAPI*)();
using TakenFrameSampleFunction = BOOL(WINAPI*)(LONG request, FrameSample* sample);
