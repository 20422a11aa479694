// What the saver and its setup read from the platform, set by tests and put
// back after them: registry values, the settings file, the password setting
// and the platform's answer to a fault.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A string value; false when it is missing.
bool ReadText(HKEY root, const char* key, const char* name, std::string& value);
// Writes a string value, or removes the value when text is null.
void PutText(HKEY root, const char* key, const char* name, const char* text);

// A registry value kept as it is and put back (or removed again) when this
// goes out of scope.
struct KeptValue {
    KeptValue(HKEY root, const char* key, const char* name);
    ~KeptValue();
    KeptValue(const KeptValue&) = delete;
    KeptValue& operator=(const KeptValue&) = delete;

    HKEY root;
    std::string key, name;
    bool had;
    DWORD type = 0;
    std::vector<BYTE> bytes;
};

// The settings file where the saver finds it: control.ini in the Windows folder.
std::string SettingsFilePath();
// Replaces the whole settings file with the saver's section holding lines.
bool WriteSettingsSection(const std::string& lines);
int ReadSetting(const char* key, int defaultValue);  // through the platform

// HKCU\Control Panel\Desktop\ScreenSaveUsePassword: true sets 1, false removes it.
void SetUsePassword(bool wanted);

// Keeps the settings file and the password setting as they are and puts them
// back when it goes out of scope.
struct KeptSettings {
    KeptSettings();
    ~KeptSettings();

    bool hadFile;
    std::string file;
    KeptValue password;
};

// While it lives, a fault that reaches the platform's standard treatment
// finds no debugger to start (Wine's prefix names winedbg whatever the error
// mode), so the verdict is "execute the handler", as on a machine without a
// debugger. Children started meanwhile see the same.
struct NoFaultDebugger {
    NoFaultDebugger();
    KeptValue debugger;
};
