// The floor of the saver's CPU measurements (EMBRIX_IDLE_FIRE), in place of
// fire/FireFrameStep.cpp: frames that compute and change nothing, so that
// after its first present the saver runs only its timer and message loop.
#include "fire/FireFrameStep.h"

int32_t StepFireFrame(const FireRowKernels&, FireField& field, uint8_t*)
{
    return field.height;
}
