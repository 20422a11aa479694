// The product's frame step: the rows that can hold heat, on the fastest
// kernels. The measuring build puts a plain whole-grid step in its place.
#include "fire/FireFrameStep.h"

int32_t StepFireFrame(FireField& field, uint8_t* pixels, bool surfaceShowsCurrent)
{
    return StepFireFrameWith(FastestFireRows(), field, pixels, surfaceShowsCurrent);
}
