// What the saver reads from the platform, set by tests and put back after
// them: the settings file, the password setting, and the platform's answer
// to a fault.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

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
    KeptSettings(const KeptSettings&) = delete;
    KeptSettings& operator=(const KeptSettings&) = delete;

    bool hadFile;
    std::string file;
    bool hadPassword;
    DWORD passwordType;
    std::vector<BYTE> password;
};

// While it lives, a fault that reaches the platform's standard treatment
// finds no debugger to start (Wine's prefix names winedbg as the fault
// debugger whatever the error mode, and takes winedbg when none is named), so
// the treatment's verdict is "execute the handler", as on a machine without
// a debugger. Children started meanwhile see the same; the setting is put
// back afterwards.
struct NoFaultDebugger {
    NoFaultDebugger();
    ~NoFaultDebugger();
    NoFaultDebugger(const NoFaultDebugger&) = delete;
    NoFaultDebugger& operator=(const NoFaultDebugger&) = delete;

    bool hadDebugger;
    std::vector<BYTE> debugger;
};
