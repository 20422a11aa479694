// What the Windows tests share: programs started as the platform starts a
// saver (..\Embrix.scr beside this program's folder) and watched, windows,
// files, platform settings kept and put back, and the screen read back.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

constexpr DWORD Patience = 30000;     // a guard against hangs, never a statement about speed
constexpr DWORD NoExit = 0xDEADBEEF;  // what WaitForExit gives for a process it had to end

std::string ProgramFolder();  // with a trailing backslash
std::string SaverPath();
std::string HandleText(HWND window);  // in decimal, as a command line names a window

inline auto RowName()  // names each row of a parameterised case by its name
{
    return [](const auto& info) { return std::string(info.param.name); };
}

struct SaverProcess {  // ended, children and all, if it still runs when this goes
    ~SaverProcess();
    HANDLE process = nullptr, children = nullptr;
    DWORD id = 0;
};
bool StartProgram(const std::string& program, const std::string& tail, SaverProcess& started);
// Serving this thread's windows meanwhile, to the end of every process it
// started too: an uninstaller hands its work to a copy of itself.
DWORD WaitForExit(SaverProcess& running);
bool StillRunning(const SaverProcess& running);
// A shown window of the process (or a child of parent) of this class and
// title; null if the process ends first.
HWND WaitForWindow(const SaverProcess& running, const char* title = "Screen Saver",
                   const char* className = "WindowsScreenSaverClass", HWND parent = nullptr);

// Serves this thread's windows, at least once, until done() (never when
// null) or ms pass; a quit ends it and is left for the loop.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = Patience);
inline void Pump(DWORD ms)
{
    PumpUntil(nullptr, ms);
}
// Top-level and brought to the front: the display settings, a foreground program.
HWND MakeTestWindow(const char* title);
// A frameless preview parent that keeps the last help or context-menu
// message it gets in ParentMessage.
HWND MakeParentWindow(int width, int height);
extern MSG ParentMessage;

std::string ReadWholeFile(const std::string& path);  // empty when missing
bool WriteWholeFile(const std::string& path, const std::string& content);

std::string ReadText(HKEY root, const char* key, const char* name);            // or "<none>"
void PutText(HKEY root, const char* key, const char* name, const char* text);  // null removes
struct KeptValue {  // a registry value put back (or removed again) when this goes
    KeptValue(HKEY root, const char* key, const char* name);
    ~KeptValue();
    HKEY root;
    std::string key, name;
    BYTE bytes[4096];
    DWORD type = 0, size = sizeof bytes;
    bool had;
};
std::string SettingsFilePath();  // control.ini in the Windows folder, where the saver finds it
bool WriteSettingsSection(const char* lines);  // the whole file: the saver's section; null: none
void SetUsePassword(bool wanted);              // ScreenSaveUsePassword 1, or none
struct KeptSettings {  // the settings file and the password setting, put back
    KeptSettings();
    ~KeptSettings();
    bool hadFile;
    std::string file;
    KeptValue password;
};

struct Screenshot {
    int width = 0;
    std::vector<DWORD> pixels;  // 0x00RRGGBB, rows from the top
};
Screenshot CaptureScreen();  // every monitor, (0, 0) at the virtual screen's top-left
