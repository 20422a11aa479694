// embrix_picture_check IMAGE.ppm [--size N] [--scaling N] [--new-fire N]
//   [--fire-type N] [--frames N]
// Whether a screenshot (binary PPM, the hack's window at 0,0) is exactly
// what a freshly started hack shows after one of its first N frames (20000
// by default): exit 0 with "frame K", else 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fire/FireFrameStep.h"
#include "support/FirePicture.h"

namespace {

// Bottom row up, where frames differ soonest.
bool Shows(const std::vector<uint32_t>& image, const FirePicture& picture, const uint8_t* grid)
{
    for (int32_t y = picture.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            if (image[size_t(y) * picture.width + x] != ExpectedPixel(picture, grid, x, y))
                return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    FireSettingsRecord s = {4, 0, 8, 8};
    int frames = 20000, maxval = 0;
    const char* names[] = {"--size", "--scaling", "--new-fire", "--fire-type", "--frames"};
    int* values[] = {&s.size, &s.scaling, &s.newFire, &s.fireType, &frames};
    bool usable = argc >= 2 && argc % 2 == 0;
    for (int i = 2; usable && i < argc; i += 2) {
        usable = false;
        for (int k = 0; k < 5; ++k)
            if (!std::strcmp(argv[i], names[k])) *values[k] = std::atoi(argv[i + 1]), usable = true;
    }
    FILE* file = usable ? std::fopen(argv[1], "rb") : nullptr;
    int imageWidth = 0, imageHeight = 0;
    usable = file && std::fscanf(file, "P6 %d %d %d", &imageWidth, &imageHeight, &maxval) == 3 &&
             maxval == 255 && imageWidth > 0 && imageHeight > 0 && std::fgetc(file) != EOF;
    std::vector<uint8_t> rgb(usable ? size_t(imageWidth) * imageHeight * 3 : 0);
    usable = usable && std::fread(rgb.data(), 1, rgb.size(), file) == rgb.size();
    if (file) std::fclose(file);
    if (!usable) {
        std::fprintf(stderr,
                     "usage: embrix_picture_check IMAGE.ppm (binary PPM) [--size N] [--scaling N] "
                     "[--new-fire N] [--fire-type N] [--frames N]\n");
        return 2;
    }
    std::vector<uint32_t> image;
    for (size_t i = 0; i < rgb.size(); i += 3)
        image.push_back(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    const FirePicture picture =
        LayOutFirePicture(imageWidth, imageHeight, {0, 0, imageWidth, imageHeight}, s);

    // The hack's grids and surface as a fresh process makes them.
    const size_t cells = size_t(picture.gridWidth) * size_t(picture.gridHeight);
    std::vector<uint8_t> next(cells), current(cells);
    std::vector<uint8_t> surface(size_t(SurfaceStride(picture.gridWidth)) * picture.gridHeight + 1);
    FireField field = {picture.gridWidth, picture.gridHeight, next.data(), current.data()};
    for (int frame = 1; frame <= frames; ++frame) {
        RunNewFireCountdown(field, s.fireType, s.newFire);
        StepFireFrame(field, surface.data(), frame > 1);
        if (Shows(image, picture, field.current)) return std::printf("frame %d\n", frame), 0;
    }
    std::printf("no frame of the first %d\n", frames);
    return 1;
}
