// Draws the program's icon and writes it as an icon file: one 32 x 32 image,
// 4 bits per pixel with the standard 16-colour palette, fully opaque, red and
// yellow flames rising from the bottom on black. Integer arithmetic only, so
// that every build writes the same bytes.
//
//   MakeIcon <output.ico>
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int Side = 32;
constexpr int XorRowBytes = Side / 2;  // two pixels a byte
constexpr int AndRowBytes = 4;         // 32 bits, already a multiple of 4 bytes
constexpr int HeaderBytes = 40;
constexpr int PaletteBytes = 16 * 4;
constexpr int ImageBytes = HeaderBytes + PaletteBytes + Side * XorRowBytes + Side * AndRowBytes;

// The standard 16 colours as red, green, blue.
constexpr std::array<std::array<uint8_t, 3>, 16> StandardColors = {{
    {0x00, 0x00, 0x00},
    {0x80, 0x00, 0x00},
    {0x00, 0x80, 0x00},
    {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80},
    {0x80, 0x00, 0x80},
    {0x00, 0x80, 0x80},
    {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80},
    {0xFF, 0x00, 0x00},
    {0x00, 0xFF, 0x00},
    {0xFF, 0xFF, 0x00},
    {0x00, 0x00, 0xFF},
    {0xFF, 0x00, 0xFF},
    {0x00, 0xFF, 0xFF},
    {0xFF, 0xFF, 0xFF},
}};
constexpr uint8_t Black = 0;
constexpr uint8_t DarkRed = 1;
constexpr uint8_t Red = 9;
constexpr uint8_t Yellow = 11;

struct Tongue {
    int centre;     // column
    int halfWidth;  // columns to either side
    int height;     // rows above the bottom edge
};
constexpr std::array<Tongue, 5> Tongues = {{
    {3, 6, 18},
    {10, 7, 27},
    {16, 6, 21},
    {22, 8, 30},
    {29, 6, 16},
}};
constexpr int Embers = 4;  // rows that burn across the whole width

// How high the fire reaches in a column: the highest tongue there, each one
// narrowing to a point as it rises.
int FlameHeight(int column)
{
    int height = Embers;
    for (const Tongue& t : Tongues) {
        const int d = column < t.centre ? t.centre - column : column - t.centre;
        if (d >= t.halfWidth) continue;
        const int left = t.halfWidth - d;
        const int h = t.height * left * left / (t.halfWidth * t.halfWidth);
        if (h > height) height = h;
    }
    return height;
}

// Yellow at the foot of the flame, red above, dark red at the tips.
uint8_t PixelColor(int column, int rowFromBottom)
{
    const int height = FlameHeight(column);
    if (rowFromBottom >= height) return Black;
    if (rowFromBottom * 100 < height * 45) return Yellow;
    if (rowFromBottom * 100 < height * 80) return Red;
    return DarkRed;
}

void PutWord(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutLong(std::vector<uint8_t>& out, uint32_t value)
{
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

std::vector<uint8_t> IconFile()
{
    std::vector<uint8_t> out;
    // Directory with one entry; the image follows right after it.
    PutWord(out, 0);
    PutWord(out, 1);  // icon
    PutWord(out, 1);  // one image
    out.push_back(Side);
    out.push_back(Side);
    out.push_back(16);  // colours
    out.push_back(0);
    PutWord(out, 1);  // planes
    PutWord(out, 4);  // bits per pixel
    PutLong(out, ImageBytes);
    PutLong(out, 6 + 16);

    // The image header counts the colour and the mask rows: twice the height.
    PutLong(out, HeaderBytes);
    PutLong(out, Side);
    PutLong(out, 2 * Side);
    PutWord(out, 1);
    PutWord(out, 4);
    PutLong(out, 0);  // no compression
    PutLong(out, Side * XorRowBytes + Side * AndRowBytes);
    PutLong(out, 0);
    PutLong(out, 0);
    PutLong(out, 0);
    PutLong(out, 0);
    for (const auto& c : StandardColors) {
        out.push_back(c[2]);
        out.push_back(c[1]);
        out.push_back(c[0]);
        out.push_back(0);
    }

    // Rows bottom-up, the left pixel in the high nibble.
    for (int row = 0; row < Side; ++row)
        for (int column = 0; column < Side; column += 2)
            out.push_back(
                static_cast<uint8_t>(PixelColor(column, row) << 4 | PixelColor(column + 1, row)));
    // An empty mask: every pixel opaque.
    out.insert(out.end(), Side * AndRowBytes, 0);
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeIcon <output.ico>\n");
        return 2;
    }
    const std::vector<uint8_t> icon = IconFile();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(icon.data(), 1, icon.size(), file) == icon.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
