#include "fire/FireSettings.h"

#include <charconv>

#include "fire/ProfileStore.h"

// The effect's defaults until a side reads the file.
FireSettingsRecord FireSettings = {4, 0, 8, 8};

const char SettingsFile[] = "control.ini";
const char SettingsSection[] = "Screen Saver.Embrix";
const char SizeKey[] = "Size";
const char ScalingKey[] = "Scaling";
const char NewFireKey[] = "New fire";
const char FireTypeKey[] = "Fire type";

int32_t ReadFireSetting(const char* key, int32_t defaultValue)
{
    // The profile functions hand back an unsigned value; a hand-written "-1"
    // must come back as -1.
    return static_cast<int32_t>(ProfileReadInt(SettingsSection, key, defaultValue, SettingsFile));
}

void WriteFireSetting(const char* key, int32_t value)
{
    char text[12];  // "-2147483648" and its terminator
    const std::to_chars_result end = std::to_chars(text, text + sizeof text - 1, value);
    *end.ptr = '\0';
    ProfileWriteString(SettingsSection, key, text, SettingsFile);
}

void LoadFireSettings()
{
    FireSettings.newFire = ReadFireSetting(NewFireKey, 8);
    FireSettings.fireType = ReadFireSetting(FireTypeKey, 8);
    FireSettings.size = ReadFireSetting(SizeKey, 4);
    FireSettings.scaling = ReadFireSetting(ScalingKey, 0);
}

int32_t FireGridDivisor(int32_t size)
{
    return size < 1 ? 4 : size;
}
