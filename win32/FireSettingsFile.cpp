#include "win32/FireSettingsFile.h"

#include <windows.h>

#include <charconv>

// The effect's defaults until a side reads the file.
FireSettingsRecord FireSettings = DefaultFireSettings;

const char SettingsFile[] = "control.ini";
const char SettingsSection[] = "Screen Saver.Embrix";
const char SizeKey[] = "Size";
const char ScalingKey[] = "Scaling";
const char NewFireKey[] = "New fire";
const char FireTypeKey[] = "Fire type";

int32_t ReadFireSetting(const char* key, int32_t defaultValue)
{
    // The platform hands back an unsigned value; a hand-written "-1" must
    // come back as -1.
    return static_cast<int32_t>(
        GetPrivateProfileIntA(SettingsSection, key, defaultValue, SettingsFile));
}

void WriteFireSetting(const char* key, int32_t value)
{
    char text[12];  // "-2147483648" and its terminator
    const std::to_chars_result end = std::to_chars(text, text + sizeof text - 1, value);
    *end.ptr = '\0';
    WritePrivateProfileStringA(SettingsSection, key, text, SettingsFile);
}

void LoadFireSettings()
{
    FireSettings.newFire = ReadFireSetting(NewFireKey, DefaultFireSettings.newFire);
    FireSettings.fireType = ReadFireSetting(FireTypeKey, DefaultFireSettings.fireType);
    FireSettings.size = ReadFireSetting(SizeKey, DefaultFireSettings.size);
    FireSettings.scaling = ReadFireSetting(ScalingKey, DefaultFireSettings.scaling);
}
