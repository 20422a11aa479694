// The floor of the saver's CPU measurements (EMBRIX_IDLE_FIRE), in place of
// fire/FireFrame.cpp: frames that compute and change nothing, so that after
// its first present the saver runs only its timer and message loop.
#include "fire/FireFrameStep.h"

int32_t StepFireFrame(FireField& field, uint8_t*, bool)
{
    return field.height;
}
