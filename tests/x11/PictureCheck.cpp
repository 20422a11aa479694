// embrix_picture_check IMAGE.ppm --new-fire N --fire-type N [--frames N] FIRE...
//   FIRE: x,y,width,height,gridWidth,gridHeight,seed (see support/FirePicture.h)
// Whether a screenshot (binary PPM) shows each fire exactly as a freshly
// started one shows it after one of its first N frames (20000 by default),
// black around them: exit 0 with "frame K..." (one K a fire), else 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/FirePicture.h"

int main(int argc, char** argv)
{
    int32_t newFire = -1, fireType = -1, frames = 20000;
    std::vector<ExpectedFire> expected;
    bool usable = argc >= 2;
    for (int i = 2; usable && i < argc; ++i) {
        ExpectedFire e;
        FramePlacement& p = e.place;
        if (i + 1 < argc && !std::strcmp(argv[i], "--new-fire")) {
            newFire = std::atoi(argv[++i]);
        } else if (i + 1 < argc && !std::strcmp(argv[i], "--fire-type")) {
            fireType = std::atoi(argv[++i]);
        } else if (i + 1 < argc && !std::strcmp(argv[i], "--frames")) {
            frames = std::atoi(argv[++i]);
        } else {
            usable = std::sscanf(argv[i], "%d,%d,%d,%d,%d,%d,%u", &p.x, &p.y, &p.width, &p.height,
                                 &e.gridWidth, &e.gridHeight, &e.seed) == 7;
            expected.push_back(e);
        }
    }
    FILE* file = usable ? std::fopen(argv[1], "rb") : nullptr;
    int width = 0, height = 0, maxval = 0;
    usable = file && std::fscanf(file, "P6 %d %d %d", &width, &height, &maxval) == 3 &&
             maxval == 255 && width > 0 && height > 0 && std::fgetc(file) != EOF && newFire >= 0 &&
             fireType > 0 && !expected.empty();
    std::vector<uint8_t> rgb(usable ? size_t(width) * height * 3 : 0);
    usable = usable && std::fread(rgb.data(), 1, rgb.size(), file) == rgb.size();
    if (file) std::fclose(file);
    if (!usable) {
        std::fprintf(stderr,
                     "usage: embrix_picture_check IMAGE.ppm (binary PPM) --new-fire N "
                     "--fire-type N [--frames N] x,y,width,height,gridWidth,gridHeight,seed...\n");
        return 2;
    }
    std::vector<uint32_t> image;
    for (size_t i = 0; i < rgb.size(); i += 3)
        image.push_back(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    if (!BlackAround(image, width, expected)) return std::printf("drawn outside the fires\n"), 1;
    std::string found = "frame";
    for (const ExpectedFire& e : expected) {
        const int32_t frame = FrameShown(image, width, e, fireType, newFire, frames);
        if (frame == 0)
            return std::printf("no frame of the first %d at %d,%d\n", frames, e.place.x, e.place.y),
                   1;
        found += " " + std::to_string(frame);
    }
    std::printf("%s\n", found.c_str());
    return 0;
}
