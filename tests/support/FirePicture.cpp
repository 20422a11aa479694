#include "support/FirePicture.h"

FirePicture LayOutFirePicture(int32_t width, int32_t height, const ScreenRect& area,
                              const FireSettingsRecord& settings)
{
    FirePicture picture = {};
    picture.width = width;
    picture.height = height;
    const int32_t divisor = FireGridDivisor(settings.size);
    picture.gridWidth = (area.right - area.left) / divisor;
    picture.gridHeight = (area.bottom - area.top) / divisor;
    picture.scaling = settings.scaling;
    picture.place =
        PlaceFrame(area, picture.gridWidth, picture.gridHeight, settings.size, settings.scaling);
    BuildFireColorRamp(picture.ramp);
    return picture;
}

uint32_t ExpectedPixel(const FirePicture& picture, const uint8_t* grid, int32_t x, int32_t y)
{
    const FramePlacement& place = picture.place;
    const int64_t fx = x - place.x, fy = y - place.y;
    if (fx < 0 || fy < 0 || fx >= place.width || fy >= place.height) return 0;
    int64_t column = fx, row = fy;
    if (picture.scaling != 0) {
        column = fx * picture.gridWidth / place.width;
        row = fy * picture.gridHeight / place.height;
    }
    if (column >= picture.gridWidth || row >= picture.gridHeight) return 0;
    const uint8_t index =
        static_cast<uint8_t>(grid[row * picture.gridWidth + column] + FireIndexBase);
    const RampColor& color = picture.ramp.entries[index];
    return uint32_t(color.red) << 16 | uint32_t(color.green) << 8 | color.blue;
}
