// The resources of the built saver, read from the file as data: the strings
// the platform lists and the icon it shows. The dialog is seen running in
// DialogTest.cpp.
#include <gtest/gtest.h>

#include <cstring>

#include "support/SaverProcess.h"

namespace {

struct Resources : ::testing::Test {
    void SetUp() override
    {
        ASSERT_NE(saver, nullptr) << SaverPath();
    }
    void TearDown() override
    {
        FreeLibrary(saver);
    }

    // The bytes of a US English resource, and their count.
    const BYTE* Data(LPCSTR type, int id, DWORD& size) const
    {
        HRSRC found = FindResourceExA(saver, type, MAKEINTRESOURCEA(id),
                                      MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        size = found ? SizeofResource(saver, found) : 0;
        return found ? static_cast<const BYTE*>(LockResource(LoadResource(saver, found))) : nullptr;
    }

    HMODULE saver = LoadLibraryExA(SaverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
};

TEST_F(Resources, StringTableInUsEnglish)
{
    const struct {
        int id;
        const char* text;
    } strings[] = {
        {1, "Embrix"},  // the name the display settings list
        {100, "Embrix"},       {107, "Insufficient memory for help application."},
        {108, "control.hlp"},  {1001, "control.ini"},
        {1002, "ScreenSaver"}, {1007, "Screen Saver.Embrix"},
    };
    for (const auto& s : strings) {
        char text[128] = "";
        LoadStringA(saver, s.id, text, sizeof text);
        EXPECT_STREQ(text, s.text) << s.id;
        DWORD size = 0;
        EXPECT_NE(Data(RT_STRING, s.id / 16 + 1, size), nullptr)
            << s.id << " is not in language 1033";
    }
}

TEST_F(Resources, OneOpaqueSixteenColourIconOf32By32)
{
    DWORD size = 0;
    const BYTE* group = Data(RT_GROUP_ICON, 125, size);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(size, 6u + 14u);  // header and one entry
    const BYTE entry[14] = {32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 0x02, 0, 0, 1, 0};
    EXPECT_EQ(group[4], 1);  // one image
    EXPECT_EQ(std::memcmp(group + 6, entry, sizeof entry), 0)
        << "32 x 32, 16 colours, 744 bytes, id 1";

    const BYTE* image = Data(RT_ICON, 1, size);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(size, 744u);
    BITMAPINFOHEADER header;
    std::memcpy(&header, image, sizeof header);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64);  // colour rows and mask rows
    EXPECT_EQ(header.biBitCount, 4);
    const BYTE* mask = image + 40 + 64 + 32 * 16;  // after the palette and the colour rows
    for (int i = 0; i < 32 * 4; ++i) ASSERT_EQ(mask[i], 0) << "mask byte " << i << ": not opaque";
}

}  // namespace
