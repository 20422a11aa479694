// The fire settings in their section of the control panel's settings file,
// read and written through the platform's profile functions.
#pragma once
#include <cstdint>

#include "fire/FireSettings.h"

extern const char SettingsFile[];     // "control.ini"
extern const char SettingsSection[];  // "Screen Saver.Embrix"
extern const char SizeKey[];          // "Size"
extern const char ScalingKey[];       // "Scaling"
extern const char NewFireKey[];       // "New fire"
extern const char FireTypeKey[];      // "Fire type"

// The process-wide record, filled by whichever side runs (effect or dialog).
extern FireSettingsRecord FireSettings;

// The value of key in the settings section, or defaultValue when the file,
// section or key is missing.
int32_t ReadFireSetting(const char* key, int32_t defaultValue);

// Stores value as decimal text under key, creating file, section or key.
void WriteFireSetting(const char* key, int32_t value);

// The effect's reading, once per window creation: "New fire" (8),
// "Fire type" (8), "Size" (4), "Scaling" (0), in that order, unchecked.
void LoadFireSettings();
