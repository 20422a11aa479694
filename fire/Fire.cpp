#include "fire/Fire.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

#include "fire/FireColors.h"
#include "fire/FireFrameStep.h"

namespace {

void FreeGrids(Fire& fire)
{
    std::free(fire.field.next);
    std::free(fire.field.current);
    std::free(fire.surface);
    fire.field = FireField();
    fire.surface = nullptr;
}

void MakeGrids(Fire& fire, const ScreenRect& area)
{
    const int32_t size = FireGridDivisor(fire.settings.size);
    FireField& field = fire.field;
    field = FireField();
    field.width = (area.right - area.left) / size;
    field.height = (area.bottom - area.top) / size;
    fire.place =
        PlaceFrame(area, field.width, field.height, fire.settings.size, fire.settings.scaling);
    // Zeroed, so that the fire rises from black.
    const size_t cells = static_cast<size_t>(std::max(field.width, 0)) *
                         static_cast<size_t>(std::max(field.height, 0));
    const size_t pictureBytes = static_cast<size_t>(SurfaceStride(field.width)) *
                                static_cast<size_t>(std::max(field.height, 0));
    field.next = static_cast<uint8_t*>(std::calloc(cells, 1));
    field.current = static_cast<uint8_t*>(std::calloc(cells, 1));
    fire.surface = static_cast<uint8_t*>(std::calloc(pictureBytes, 1));
    if (!field.next || !field.current || !fire.surface) {
        const FramePlacement place = fire.place;
        FreeGrids(fire);
        fire.place = place;
    }
    fire.unshownFrom = 0;
}

}  // namespace

void CreateFire(Fire& fire, const ScreenRect& area, const FireSettingsRecord& settings,
                uint32_t seed)
{
    fire = Fire();
    fire.settings = settings;
    fire.rows = &FastestFireRows();
    fire.randomSeed = seed;
    fire.newFireCountdown = 0;
    MakeGrids(fire, area);
}

void ResizeFire(Fire& fire, const ScreenRect& area)
{
    FreeGrids(fire);
    MakeGrids(fire, area);
}

int32_t RunFireFrame(Fire& fire)
{
    FireField& field = fire.field;
    if (!fire.surface) return field.height;
    if (fire.newFireCountdown == 0) {
        SeedFire(field, fire.settings.fireType, fire.randomSeed);
        fire.newFireCountdown = fire.settings.newFire;
    } else {
        // A negative reload value, from a hand-edited file, must wrap
        // through the whole range rather than overflow.
        fire.newFireCountdown =
            static_cast<int32_t>(static_cast<uint32_t>(fire.newFireCountdown) - 1u);
    }
    const int32_t changed = StepFireFrame(*fire.rows, field, fire.surface);
    const int32_t from = std::min(fire.unshownFrom, changed);
    fire.unshownFrom = field.height;
    return from;
}

void ShowWholeFire(Fire& fire)
{
    fire.unshownFrom = 0;
}

void DestroyFire(Fire& fire)
{
    FreeGrids(fire);
    fire = Fire();
}
