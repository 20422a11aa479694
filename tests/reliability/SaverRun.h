// What the reliability tests share: the built saver started the way the
// platform starts it and watched from outside, scratch folders, and the
// settings file and password setting kept as they were around each test.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// How long a wait may last before a test gives up: a guard against hangs,
// never a statement about speed.
constexpr DWORD Patience = 30000;
// What WaitForExit gives when the process had to be ended.
constexpr DWORD NoExit = 0xDEADBEEF;

std::string ProgramFolder();  // this program's folder, with a trailing backslash
std::string BuiltSaver();     // the saver of this build: ..\Embrix.scr from <build>\tests

struct SaverRun {
    HANDLE process = nullptr;
    DWORD id = 0;
};

typedef std::vector<std::pair<std::string, std::string>> ExtraEnvironment;
std::string EnvironmentOf(const std::string& name);  // empty when not set

// Starts program with the command line "<program>" <tail>; the variables in
// extra are set for the child alone.
bool StartSaver(const std::string& program, const std::string& tail, SaverRun& run,
                const ExtraEnvironment& extra = {});

// Serves this thread's windows while it waits; the exit code, or NoExit when
// the patience ran out (the process is then ended).
DWORD WaitForExit(SaverRun& run);
bool StillRunning(const SaverRun& run);

// Serves this thread's windows until find() gives a window, the process ends
// or the patience runs out; the window or null.
HWND WaitForWindow(const std::function<HWND()>& find, const SaverRun& run);
// A top-level window of the process with this class and title, or null.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title);
HWND WaitForFullScreen(const SaverRun& run);
HWND WaitForSettingsDialog(const SaverRun& run);

void Pump(DWORD milliseconds);

std::string MakeScratchFolder(const char* name);  // empty, trailing backslash
void RemoveScratchFolder(const std::string& folder);
std::string ReadWholeFile(const std::string& path);  // empty when missing
bool WriteWholeFile(const std::string& path, const std::string& content);

// The settings file where the saver finds it: control.ini in the Windows folder.
std::string SettingsFilePath();
// Replaces the whole settings file with the saver's section holding lines.
bool WriteSettingsSection(const std::string& lines);
int ReadSetting(const char* key, int defaultValue);  // through the platform

// HKCU\Control Panel\Desktop\ScreenSaveUsePassword: 1 sets it, 0 removes it.
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
