// Runs natively against our profile layer and under Windows against the
// platform's own functions: the same expectations hold for both.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "fire/FireSettings.h"
#include "fire/ProfileStore.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::string SettingsPath()
{
#ifdef _WIN32
    char directory[MAX_PATH];
    GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\" + SettingsFile;
#else
    return std::string(ProfileDirectory) + "/" + SettingsFile;
#endif
}

std::string FileText()
{
    std::ifstream stream(SettingsPath(), std::ios::binary);
    return stream ? std::string(std::istreambuf_iterator<char>(stream), {}) : "<no file>";
}

void PutText(const char* text)
{
    std::remove(SettingsPath().c_str());
    if (text) std::ofstream(SettingsPath(), std::ios::binary) << text;
#ifdef _WIN32
    // The platform caches profile files; all-null arguments flush the cache.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, SettingsFile);
#endif
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
#ifndef _WIN32
        ASSERT_NE(ProfileDirectory = mkdtemp(directory), nullptr);
#endif
        saved = FileText();
        PutText(nullptr);
    }
    void TearDown() override
    {
        PutText(saved == "<no file>" ? nullptr : saved.c_str());
#ifndef _WIN32
        rmdir(directory);
        ProfileDirectory = nullptr;
#endif
    }
    char directory[28] = "/tmp/embrix-settings-XXXXXX";
    std::string saved;
};

TEST_F(SettingsFileTest, MissingSettingsGiveTheDefaultsAndWritesMakeOneSectionInOrder)
{
    for (const char* text : {"", "[Other]\r\nSize=2\r\n", "[Screen Saver.Embrix]\r\nSized=2\r\n"}) {
        if (*text != '\0') PutText(text);
        FireSettings = {0, 9, 0, 0};
        LoadFireSettings();
        EXPECT_TRUE(FireSettings.size == 4 && FireSettings.scaling == 0 &&
                    FireSettings.newFire == 8 && FireSettings.fireType == 8)
            << text;
        EXPECT_EQ(ReadFireSetting(FireTypeKey, 10), 10) << text;  // the dialog's default
    }
    PutText(nullptr);
    WriteFireSetting(SizeKey, -2147483647 - 1);
    WriteFireSetting(ScalingKey, 0);
    WriteFireSetting(NewFireKey, 8);
    WriteFireSetting(FireTypeKey, 10);
    EXPECT_EQ(FileText(),
              "[Screen Saver.Embrix]\r\nSize=-2147483648\r\nScaling=0\r\n"
              "New fire=8\r\nFire type=10\r\n");
    LoadFireSettings();
    EXPECT_EQ(FireSettings.size, -2147483647 - 1);
}

TEST_F(SettingsFileTest, LookupIgnoresCaseAndSpacingButNotInnerBlanks)
{
    PutText("[ screen saver.EMBRIX ]\nnew FIRE = 3\n\tSIZE\t=\t2\t\n[Other]\nScaling=1\n");
    EXPECT_EQ(ReadFireSetting(NewFireKey, 8), 3);
    EXPECT_EQ(ReadFireSetting(SizeKey, 4), 2);
    EXPECT_EQ(ReadFireSetting(ScalingKey, 0), 0);  // another section's key

    PutText("[Screen Saver.Embrix]\rNew  fire=3\rFire type=5\rFire type=6\r");
    EXPECT_EQ(ReadFireSetting(NewFireKey, 8), 8);
    EXPECT_EQ(ReadFireSetting(FireTypeKey, 8), 5);  // the first of two wins
}

TEST_F(SettingsFileTest, WritesKeepOtherLinesInOrder)
{
    PutText(
        "; top\r\n[Other]\r\na=1\r\n[Screen Saver.Embrix]\r\nScaling=1\r\n;c\r\n[Last]\r\nz=9\r\n");
    WriteFireSetting(SizeKey, 8);
    WriteFireSetting(ScalingKey, 0);
    EXPECT_EQ(FileText(),
              "; top\r\n[Other]\r\na=1\r\n[Screen Saver.Embrix]\r\nScaling=0\r\n;c\r\n"
              "Size=8\r\n[Last]\r\nz=9\r\n");

    PutText("[Other]\r\na=1");
    WriteFireSetting(NewFireKey, 16);
    EXPECT_EQ(FileText(), "[Other]\r\na=1\r\n[Screen Saver.Embrix]\r\nNew fire=16\r\n");
}

TEST_F(SettingsFileTest, OddValueTextConvertsAsThePlatformDoes)
{
    const struct {
        const char* line;
        int32_t value;
    } cases[] = {
        // clang-format off
        {"Size=-12", -12}, {"Size=\t +12abc", 12}, {"Size=- 3", 0}, {"Size=   ", 77}, {"Size", 77},
        {"Size=010", 10}, {"Size=-0x10", -16}, {"Size=0X1F", 0}, {"Size=0b101", 5}, {"Size=0o17", 15},
        {"Size=99999999999", 1215752191}, {"Size='12'", 12}, {"Size=\"\"", 77}, {"Size=\"5", 0},
        {"Size=\x01\x02" "5", 5}, {"Size=\xA0" "5", 0},
        // At most 29 characters, quotes included, reach the conversion.
        {"Size=00000000000000000000000000012", 12}, {"Size=\"00000000000000000000000000012\"", 1},
        // clang-format on
    };
    for (const auto& c : cases) {
        PutText((std::string("[Screen Saver.Embrix]\r\n") + c.line + "\r\n").c_str());
        EXPECT_EQ(ReadFireSetting(SizeKey, 77), c.value) << c.line;
    }
}

}  // namespace
