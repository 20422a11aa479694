// The resources of the built saver, read from the file as data: the string
// table, the settings dialog's template and the icon.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/SaverProcess.h"
#include "startup/SettingsTemplate.h"

namespace {

const WORD UsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

struct ResourcesTest : ::testing::Test {
    static void SetUpTestSuite() {
        saver = LoadLibraryExA(SaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() {
        if (saver) FreeLibrary(saver);
    }
    void SetUp() override { ASSERT_NE(saver, nullptr) << SaverPath(); }

    // The bytes of a US English resource, and their count.
    static const BYTE* Data(LPCSTR type, LPCSTR name, DWORD& size) {
        HRSRC found = FindResourceExA(saver, type, name, UsEnglish);
        if (found == nullptr) return nullptr;
        size = SizeofResource(saver, found);
        return static_cast<const BYTE*>(LockResource(LoadResource(saver, found)));
    }

    static HMODULE saver;
};
HMODULE ResourcesTest::saver = nullptr;

TEST_F(ResourcesTest, StringTable) {
    const struct {
        UINT id;
        const char* text;
    } strings[] = {
        {1, "Embrix"},
        {100, "Embrix"},
        {107, "Insufficient memory for help application."},
        {108, "control.hlp"},
        {1001, "control.ini"},
        {1002, "ScreenSaver"},
        {1007, "Screen Saver.Embrix"},
    };
    for (const auto& s : strings) {
        char text[128] = "";
        EXPECT_GT(LoadStringA(saver, s.id, text, sizeof text), 0) << s.id;
        EXPECT_STREQ(text, s.text) << s.id;
        DWORD size = 0;
        EXPECT_NE(Data(RT_STRING, MAKEINTRESOURCEA(s.id / 16 + 1), size), nullptr)
            << s.id << " is not in language 1033";
    }
    char text[16] = "";
    EXPECT_EQ(LoadStringA(saver, 2, text, sizeof text), 0);
}

// Reads a dialog template field by field.
struct TemplateReader {
    const BYTE* at;
    const BYTE* end;

    bool Fits(size_t n) const { return at + n <= end; }
    WORD Word() {
        WORD value = 0;
        if (Fits(2)) std::memcpy(&value, at, 2);
        at += 2;
        return value;
    }
    DWORD Long() {
        const DWORD low = Word();
        return low | static_cast<DWORD>(Word()) << 16;
    }
    std::string Text() {  // UTF-16 up to its NUL; ASCII is all it holds here
        std::string text;
        while (Fits(2)) {
            const WORD c = Word();
            if (c == 0) break;
            text += static_cast<char>(c);
        }
        return text;
    }
    // A class or title: 0xFFFF and an ordinal, or text.
    std::string NameOrOrdinal(WORD& ordinal) {
        ordinal = 0;
        WORD first = 0;
        if (Fits(2)) std::memcpy(&first, at, 2);
        if (first == 0xFFFF) {
            Word();
            ordinal = Word();
            return std::string();
        }
        return Text();
    }
    void AlignToLong(const BYTE* start) {
        while ((at - start) % 4 != 0) ++at;
    }
};

TEST_F(ResourcesTest, SettingsDialogTemplate) {
    DWORD size = 0;
    const BYTE* data = Data(RT_DIALOG, MAKEINTRESOURCEA(2003), size);
    ASSERT_NE(data, nullptr);
    TemplateReader reader = {data, data + size};
    EXPECT_EQ(reader.Long(), SettingsDialogStyle);
    EXPECT_EQ(reader.Long(), 0u);  // extended style
    ASSERT_EQ(reader.Word(), SettingsControlCount);
    EXPECT_EQ(reader.Word(), 0);
    EXPECT_EQ(reader.Word(), 0);
    EXPECT_EQ(reader.Word(), 270);
    EXPECT_EQ(reader.Word(), 116);
    WORD ordinal = 0;
    EXPECT_EQ(reader.NameOrOrdinal(ordinal), "");  // no menu
    EXPECT_EQ(ordinal, 0);
    EXPECT_EQ(reader.NameOrOrdinal(ordinal), "");  // the platform's dialog class
    EXPECT_EQ(ordinal, 0);
    EXPECT_EQ(reader.Text(), "Embrix settings");
    EXPECT_EQ(reader.Word(), 8);
    EXPECT_EQ(reader.Text(), "MS Sans Serif");

    for (const ExpectedControl& expected : SettingsControls) {
        reader.AlignToLong(data);
        ASSERT_TRUE(reader.Fits(18)) << expected.text;
        EXPECT_EQ(reader.Long(), expected.style) << expected.text;
        EXPECT_EQ(reader.Long(), 0u) << expected.text;
        EXPECT_EQ(static_cast<short>(reader.Word()), expected.x) << expected.text;
        EXPECT_EQ(static_cast<short>(reader.Word()), expected.y) << expected.text;
        EXPECT_EQ(static_cast<short>(reader.Word()), expected.width) << expected.text;
        EXPECT_EQ(static_cast<short>(reader.Word()), expected.height) << expected.text;
        EXPECT_EQ(reader.Word(), static_cast<WORD>(expected.id)) << expected.text;
        const std::string className = reader.NameOrOrdinal(ordinal);
        if (lstrcmpA(expected.className, "Button") == 0) {
            EXPECT_EQ(ordinal, 0x0080) << expected.text;
        } else if (lstrcmpA(expected.className, "Static") == 0) {
            EXPECT_EQ(ordinal, 0x0082) << expected.text;
        } else {  // the platform matches class names without regard to case
            EXPECT_EQ(lstrcmpiA(className.c_str(), expected.className), 0) << className;
        }
        EXPECT_EQ(reader.NameOrOrdinal(ordinal), expected.text);
        EXPECT_EQ(reader.Word(), 0) << expected.text << ": no creation data";
    }
    EXPECT_LE(reader.at, reader.end);
}

TEST_F(ResourcesTest, OneSixteenColourIcon) {
    DWORD size = 0;
    const BYTE* group = Data(RT_GROUP_ICON, MAKEINTRESOURCEA(125), size);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(size, 6u + 14u);  // header and one entry
    const BYTE entry[14] = {32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 0x02, 0, 0, 1, 0};
    EXPECT_EQ(group[2], 1);  // an icon
    EXPECT_EQ(group[4], 1);  // one image
    EXPECT_EQ(std::memcmp(group + 6, entry, sizeof entry), 0) << "32 x 32, 16 colours, 744 bytes, id 1";

    const BYTE* image = Data(RT_ICON, MAKEINTRESOURCEA(1), size);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(size, 744u);
    BITMAPINFOHEADER header;
    std::memcpy(&header, image, sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);  // colour rows and mask rows
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 4);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));

    const BYTE standard[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                  {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                  {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                  {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    const BYTE* palette = image + 40;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(palette[4 * i + 2], standard[i][0]) << "colour " << i;
        EXPECT_EQ(palette[4 * i + 1], standard[i][1]) << "colour " << i;
        EXPECT_EQ(palette[4 * i + 0], standard[i][2]) << "colour " << i;
    }

    const BYTE* pixels = palette + 64;  // rows bottom-up, 16 bytes each
    const BYTE* mask = pixels + 32 * 16;
    for (int i = 0; i < 32 * 4; ++i) ASSERT_EQ(mask[i], 0) << "mask byte " << i << ": not opaque";

    auto color = [&](int x, int rowFromBottom) {
        const BYTE pair = pixels[rowFromBottom * 16 + x / 2];
        return x % 2 == 0 ? pair >> 4 : pair & 0xF;
    };
    const int black = 0, darkRed = 1, red = 9, yellow = 11;
    int reds = 0, yellows = 0;
    for (int x = 0; x < 32; ++x) {
        EXPECT_NE(color(x, 0), black) << "the fire reaches the bottom edge at " << x;
        EXPECT_EQ(color(x, 31), black) << "black sky at " << x;
        bool burning = true;  // from the bottom up: flame, then black
        for (int row = 0; row < 32; ++row) {
            const int c = color(x, row);
            EXPECT_TRUE(c == black || c == darkRed || c == red || c == yellow) << c;
            if (c == black) burning = false;
            EXPECT_TRUE(burning || c == black) << "a flame above the black at " << x << ", " << row;
            reds += c == red || c == darkRed;
            yellows += c == yellow;
        }
    }
    EXPECT_GT(reds, 0);
    EXPECT_GT(yellows, 0);
}

}  // namespace
