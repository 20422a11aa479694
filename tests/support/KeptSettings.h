// What the saver and its setup read from the platform, set by tests and put
// back after them: registry values, the settings file, the password setting
// and the platform's answer to a fault.
#pragma once
#include <windows.h>

#include <string>

std::string ReadText(HKEY root, const char* key, const char* name);  // a string value, or "<none>"
void PutText(HKEY root, const char* key, const char* name,
             const char* text);  // null removes the value

struct KeptValue {  // a registry value kept as it is and put back (or removed again) when this goes
    KeptValue(HKEY root, const char* key, const char* name);
    ~KeptValue();
    HKEY root;
    std::string key, name;
    BYTE bytes[4096];
    DWORD type = 0, size = sizeof bytes;
    bool had;
};

std::string SettingsFilePath();  // control.ini in the Windows folder, where the saver finds it
// Replaces the whole settings file with the saver's section holding lines.
bool WriteSettingsSection(const std::string& lines);
// HKCU\Control Panel\Desktop\ScreenSaveUsePassword: true sets 1, false removes it.
void SetUsePassword(bool wanted);

struct KeptSettings {  // keeps the settings file and the password setting, and puts them back
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
