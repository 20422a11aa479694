// Runs natively against our profile layer and under Windows against the
// platform's own functions: the same expectations hold for both.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "fire/FireSettings.h"
#include "fire/ProfileStore.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::string FileText(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void PutText(const std::string& path, const std::string& text)  // empty: no file
{
    std::remove(path.c_str());
    if (!text.empty()) std::ofstream(path, std::ios::binary) << text;
#ifdef _WIN32
    // The platform caches profile files; all-null arguments flush the cache.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, SettingsFile);
#endif
}

TEST(SettingsFile, MissingSettingsGiveTheDefaultsAndWritesMakeOneSectionInOrder)
{
#ifdef _WIN32
    char folder[MAX_PATH];
    const std::string path =
        std::string(folder, GetWindowsDirectoryA(folder, MAX_PATH)) + "\\" + SettingsFile;
#else
    char folder[] = "/tmp/embrix-settings-XXXXXX";
    ASSERT_NE(ProfileDirectory = mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/" + SettingsFile;
#endif
    const std::string saved = FileText(path);
    for (const char* text : {"", "[Other]\r\nSize=2\r\n", "[Screen Saver.Embrix]\r\nSized=2\r\n"}) {
        PutText(path, text);
        FireSettings = {0, 9, 0, 0};
        LoadFireSettings();
        EXPECT_TRUE(FireSettings.size == 4 && FireSettings.scaling == 0 &&
                    FireSettings.newFire == 8 && FireSettings.fireType == 8)
            << text;
        EXPECT_EQ(ReadFireSetting(FireTypeKey, 10), 10) << text;  // the dialog's default
    }
    PutText(path, "");
    WriteFireSetting(SizeKey, -2147483647 - 1);
    WriteFireSetting(ScalingKey, 0);
    WriteFireSetting(NewFireKey, 8);
    WriteFireSetting(FireTypeKey, 10);
    EXPECT_EQ(FileText(path),
              "[Screen Saver.Embrix]\r\nSize=-2147483648\r\nScaling=0\r\n"
              "New fire=8\r\nFire type=10\r\n");
    LoadFireSettings();
    EXPECT_EQ(FireSettings.size, -2147483647 - 1);
    PutText(path, saved);
#ifndef _WIN32
    rmdir(folder);
    ProfileDirectory = nullptr;
#endif
}

}  // namespace
