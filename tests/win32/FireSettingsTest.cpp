// The settings file through the platform's own profile functions.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/TestSupport.h"
#include "win32/FireSettingsFile.h"

namespace {

TEST(SettingsFile, MissingSettingsGiveTheDefaultsAndWritesMakeOneSectionInOrder)
{
    KeptSettings kept;
    const std::string path = SettingsFilePath();
    for (const char* text : {"", "[Other]\r\nSize=2\r\n", "[Screen Saver.Embrix]\r\nSized=2\r\n"}) {
        WriteWholeFile(path, text);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, SettingsFile);  // the cache flushed
        FireSettings = {0, 9, 0, 0};
        LoadFireSettings();
        EXPECT_TRUE(FireSettings.size == 4 && FireSettings.scaling == 0 &&
                    FireSettings.newFire == 8 && FireSettings.fireType == 8)
            << text;
        EXPECT_EQ(ReadFireSetting(FireTypeKey, 10), 10) << text;  // the dialog's default
    }
    DeleteFileA(path.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, SettingsFile);
    WriteFireSetting(SizeKey, -2147483647 - 1);
    WriteFireSetting(ScalingKey, 0);
    WriteFireSetting(NewFireKey, 8);
    WriteFireSetting(FireTypeKey, 10);
    EXPECT_EQ(ReadWholeFile(path),
              "[Screen Saver.Embrix]\r\nSize=-2147483648\r\nScaling=0\r\n"
              "New fire=8\r\nFire type=10\r\n");
    LoadFireSettings();
    EXPECT_EQ(FireSettings.size, -2147483647 - 1);
}

}  // namespace
