// embrix_picture_check IMAGE.ppm [--size N] [--scaling N] [--new-fire N]
//   [--fire-type N] [--primary X,Y,W,H] [--frames N]
// Whether a screenshot (binary PPM, the hack's window at 0,0) is exactly
// what a freshly started hack shows after one of its first N frames (20000
// by default): exit 0 with "frame K", else 1 with the closest frame (the one
// matching most pixels from the bottom row up) and its first wrong pixel.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fire/FireFrameStep.h"
#include "support/FirePicture.h"

namespace {

struct Image {
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB
};

bool ReadPpm(const char* path, Image& image)
{
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    int maxval = 0;
    const bool header =
        std::fscanf(file, "P6 %d %d %d", &image.width, &image.height, &maxval) == 3 &&
        maxval == 255 && image.width > 0 && image.height > 0 && std::fgetc(file) != EOF;
    std::vector<uint8_t> rgb(header ? size_t(image.width) * image.height * 3 : 0);
    const bool read = header && std::fread(rgb.data(), 1, rgb.size(), file) == rgb.size();
    std::fclose(file);
    for (size_t i = 0; read && i < rgb.size(); i += 3)
        image.pixels.push_back(uint32_t(rgb[i]) << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    return read;
}

struct Difference {
    int64_t matched = -1;  // pixels matching before the first wrong one
    int32_t x = 0, y = 0;
    uint32_t seen = 0, expected = 0;
};

// Bottom row up, where frames differ soonest; outside the frame counts last.
Difference Compare(const Image& image, const FirePicture& picture, const uint8_t* grid)
{
    Difference d;
    d.matched = 0;
    for (int32_t pass = 0; pass < 2; ++pass) {
        for (int32_t y = image.height - 1; y >= 0; --y) {
            for (int32_t x = 0; x < image.width; ++x) {
                const FramePlacement& p = picture.place;
                const bool inside = x >= p.x && x < p.x + p.width && y >= p.y && y < p.y + p.height;
                if (inside != (pass == 0)) continue;
                const uint32_t expected = ExpectedPixel(picture, grid, x, y);
                const uint32_t seen = image.pixels[size_t(y) * image.width + x];
                if (seen != expected) return {d.matched, x, y, seen, expected};
                ++d.matched;
            }
        }
    }
    d.matched = -1;  // all of it
    return d;
}

}  // namespace

int main(int argc, char** argv)
{
    FireSettingsRecord settings = {4, 0, 8, 8};
    long frames = 20000;
    int left = 0, top = 0, width = -1, height = -1;
    bool usable = argc >= 2;
    for (int i = 2; usable && i + 1 < argc; i += 2) {
        const char* v = argv[i + 1];
        if (!std::strcmp(argv[i], "--size"))
            settings.size = std::atoi(v);
        else if (!std::strcmp(argv[i], "--scaling"))
            settings.scaling = std::atoi(v);
        else if (!std::strcmp(argv[i], "--new-fire"))
            settings.newFire = std::atoi(v);
        else if (!std::strcmp(argv[i], "--fire-type"))
            settings.fireType = std::atoi(v);
        else if (!std::strcmp(argv[i], "--frames"))
            frames = std::atol(v);
        else if (!std::strcmp(argv[i], "--primary"))
            usable = std::sscanf(v, "%d,%d,%d,%d", &left, &top, &width, &height) == 4;
        else
            usable = false;
    }
    Image image;
    if (!usable || argc % 2 != 0 || !ReadPpm(argv[1], image)) {
        std::fprintf(stderr,
                     "usage: embrix_picture_check IMAGE.ppm (binary PPM, maxval 255) "
                     "[--size N] [--scaling N] [--new-fire N] [--fire-type N] "
                     "[--primary X,Y,W,H] [--frames N]\n");
        return 2;
    }
    if (width < 0) width = image.width, height = image.height;
    const ScreenRect area = {left, top, left + width, top + height};
    const FirePicture picture = LayOutFirePicture(image.width, image.height, area, settings);

    // The hack's grids as a fresh process makes them.
    const size_t cells = size_t(picture.gridWidth) * size_t(picture.gridHeight);
    std::vector<uint8_t> next(cells), current(cells);
    std::vector<uint8_t> surface(size_t(SurfaceStride(picture.gridWidth)) * picture.gridHeight + 1);
    FireField field = {picture.gridWidth, picture.gridHeight, next.data(), current.data()};
    Difference closest;
    long closestFrame = 0;
    for (long frame = 1; frame <= frames; ++frame) {
        RunNewFireCountdown(field, settings.fireType, settings.newFire);
        StepFireFrame(field, surface.data(), frame > 1);
        const Difference d = Compare(image, picture, field.current);
        if (d.matched < 0) {
            std::printf("frame %ld\n", frame);
            return 0;
        }
        if (d.matched > closest.matched) closest = d, closestFrame = frame;
    }
    std::printf("no frame of %ld: closest frame %ld, pixel (%d, %d) is #%06X, expected #%06X\n",
                frames, closestFrame, closest.x, closest.y, closest.seen, closest.expected);
    return 1;
}
