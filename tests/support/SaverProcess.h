// Programs started and watched from outside, the way the platform starts a
// saver or a user a setup: exit codes, their windows, a key press, scratch
// folders and whole files. The saver is ..\Embrix.scr beside the test
// program's folder.
#pragma once
#include <windows.h>

#include <string>

// How long a wait may last before a test gives up: a guard against hangs,
// never a statement about speed.
constexpr DWORD Patience = 30000;
constexpr DWORD NoExit = 0xDEADBEEF;  // what WaitForExit gives for a process it had to end

std::string ProgramFolder();  // this program's folder, with a trailing backslash
std::string SaverPath();
std::string HandleText(HWND window);  // in decimal, as a command line names a window

// Names each row of a parameterised case by the row's own name.
struct RowName {
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& info) const { return info.param.name; }
};

// A started process; one that still runs when this goes away is ended, with
// its children when it was started with them.
struct SaverProcess {
    SaverProcess() = default;
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    HANDLE process = nullptr;
    HANDLE children = nullptr;  // the job holding it and all it starts
    DWORD id = 0;
};

// Starts exactly commandLine (an empty program: the line names it) with this
// process's environment. withChildren: WaitForExit also waits for every
// process it starts.
bool StartProgram(const std::string& program, const std::string& commandLine,
                  SaverProcess& started, bool withChildren = false);
// "<program in quotes> <tail>", as the platform starts a saver.
bool StartSaver(const std::string& program, const std::string& tail, SaverProcess& started);
// Serves this thread's windows while it waits; the exit code, or NoExit.
DWORD WaitForExit(SaverProcess& running);
bool StillRunning(const SaverProcess& running);
DWORD RunSaver(const std::string& tail);  // the saver at SaverPath(), to its end

// Serves this thread's windows until the saver's full-screen window, its
// preview inside parent, or its settings dialog is shown; null if the
// process ends or the patience runs out first.
HWND WaitForFullScreen(const SaverProcess& running);
HWND WaitForPreview(HWND parent, const SaverProcess& running);
HWND WaitForSettingsDialog(const SaverProcess& running);

void PressKey(WORD key);  // down and up, through the platform's input
void Pump(DWORD milliseconds);  // serves this thread's windows (at least once)

// A visible top-level window of this thread: a stand-in for the display
// settings or a foreground application.
HWND MakeTestWindow(const char* title);
// A visible frameless pop-up whose client area is width x height: a preview parent.
HWND MakeParentWindow(int width, int height);

// An empty folder of its own under the temporary folder, trailing backslash.
std::string MakeScratchFolder(const char* name);
void RemoveScratchFolder(const std::string& folder);
std::string ReadWholeFile(const std::string& path);  // empty when missing
bool WriteWholeFile(const std::string& path, const std::string& content);
std::string EnvironmentValue(const char* name);  // empty when not set
