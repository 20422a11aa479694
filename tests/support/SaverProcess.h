// Programs started and watched from outside, the way the platform starts a
// saver or a user a setup: exit codes, their windows, a key press, scratch
// folders and whole files. The saver is ..\Embrix.scr beside the folder of
// the test program.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// How long a wait may last before a test gives up: a guard against hangs,
// never a statement about speed.
constexpr DWORD Patience = 30000;
// What WaitForExit gives when the process had to be ended.
constexpr DWORD NoExit = 0xDEADBEEF;

std::string ProgramFolder();  // this program's folder, with a trailing backslash
std::string SaverPath();      // ..\Embrix.scr from ProgramFolder()
std::string HandleText(HWND window);  // in decimal, as a command line names a window

// Names each row of a parameterised case by the row's own name.
struct RowName {
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& info) const { return info.param.name; }
};

// A started process. One that still runs when this goes away is ended, with
// its children when it was started with them.
struct SaverProcess {
    SaverProcess() = default;
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    HANDLE process = nullptr;
    HANDLE children = nullptr;  // the job holding it and what it starts
    DWORD id = 0;
};

typedef std::vector<std::pair<std::string, std::string>> ExtraEnvironment;

// Starts exactly commandLine (program may be empty: the line names it); the
// variables in extra are set for the child alone. withChildren: WaitForExit
// also waits for every process it starts.
bool StartProgram(const std::string& program, const std::string& commandLine,
                  SaverProcess& started, const ExtraEnvironment& extra = {},
                  bool withChildren = false);
// Starts the saver at program with "<program in quotes> <tail>".
bool StartSaver(const std::string& program, const std::string& tail, SaverProcess& started,
                const ExtraEnvironment& extra = {});
// Serves this thread's windows while it waits; the exit code, or NoExit when
// the patience ran out (everything is then ended).
DWORD WaitForExit(SaverProcess& running);
bool StillRunning(const SaverProcess& running);
// The saver at SaverPath() with this tail, to its end.
DWORD RunSaver(const std::string& tail);

// Serves this thread's windows until the saver's full-screen window, its
// preview inside parent, or its settings dialog is shown; null when the
// process ended or the patience ran out first.
HWND WaitForFullScreen(const SaverProcess& running);
HWND WaitForPreview(HWND parent, const SaverProcess& running);
HWND WaitForSettingsDialog(const SaverProcess& running);

void PressKey(WORD key);  // down and up, through the platform's input

// Serves this thread's windows for the time given (at least once).
void Pump(DWORD milliseconds);

// A visible top-level window of this thread, a stand-in for the platform's
// display settings or a foreground application.
HWND MakeTestWindow(const char* title);
// A visible frameless pop-up of this thread whose client area is exactly
// width x height: a preview parent.
HWND MakeParentWindow(int width, int height);

// An empty folder of its own under the temporary folder, trailing backslash.
std::string MakeScratchFolder(const char* name);
void RemoveScratchFolder(const std::string& folder);
std::string ReadWholeFile(const std::string& path);  // empty when missing
bool WriteWholeFile(const std::string& path, const std::string& content);

std::string EnvironmentValue(const char* name);  // empty when not set
