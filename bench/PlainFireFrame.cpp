// The measuring build's frame step (EMBRIX_PLAIN_FIRE), in place of
// fire/FireFrameStep.cpp: the plain reference loops over the whole grid,
// behind the same guards, and every row reported changed, so the whole
// picture is presented on every frame.
#include <utility>

#include "bench/ReferenceFire.h"
#include "fire/FireFrameStep.h"

int32_t StepFireFrame(const FireRowKernels&, FireField& field, uint8_t* pixels)
{
    const int32_t width = field.width;
    const int32_t height = field.height;
    if (field.next != nullptr && field.current != nullptr && width >= MinFireWidth &&
        height >= MinFireHeight && width <= MaxFireExtent && height <= MaxFireExtent) {
        ReferenceSpread(field.next, field.current, width, height);
    }
    if (pixels != nullptr && field.next != nullptr && width > 0 && height > 0) {
        ReferenceCopy(pixels, field.next, width, height);
    }
    std::swap(field.current, field.next);
    return 0;
}
