// The four fire settings and their section of the settings file.
#pragma once
#include <cstdint>

struct FireSettingsRecord {
    int32_t size;      // "Size": grid = client size / size
    int32_t scaling;   // "Scaling": 0 centred at grid size, else stretched
    int32_t newFire;   // "New fire": frames without sowing after a sowing
    int32_t fireType;  // "Fire type": hot spots per sowing = width / fireType
};

// The process-wide record, filled by whichever side runs (effect or dialog).
extern FireSettingsRecord FireSettings;

extern const char SettingsFile[];     // "control.ini"
extern const char SettingsSection[];  // "Screen Saver.Embrix"
extern const char SizeKey[];          // "Size"
extern const char ScalingKey[];       // "Scaling"
extern const char NewFireKey[];       // "New fire"
extern const char FireTypeKey[];      // "Fire type"

// The value of key in the settings section, or defaultValue when the file,
// section or key is missing.
int32_t ReadFireSetting(const char* key, int32_t defaultValue);

// Stores value as decimal text under key, creating file, section or key.
void WriteFireSetting(const char* key, int32_t value);

// The effect's reading, once per window creation: "New fire" (8),
// "Fire type" (8), "Size" (4), "Scaling" (0), in that order, unchecked.
void LoadFireSettings();

// The divisor that sizes the grid: a "Size" below 1 from a hand-edited file
// counts as the default 4.
int32_t FireGridDivisor(int32_t size);
