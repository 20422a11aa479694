// Programs started and watched from outside, the way the platform starts a
// saver or a user a setup. The saver is ..\Embrix.scr beside this program's folder.
#pragma once
#include <windows.h>

#include <string>

// How long a wait may last before a test gives up: a guard against hangs,
// never a statement about speed.
constexpr DWORD Patience = 30000;
constexpr DWORD NoExit = 0xDEADBEEF;  // what WaitForExit gives for a process it had to end

std::string ProgramFolder();  // with a trailing backslash
std::string SaverPath();
std::string HandleText(HWND window);  // in decimal, as a command line names a window
std::string EnvironmentValue(const char* name);

// Names each row of a parameterised case by the row's own name.
struct RowName {
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& info) const { return info.param.name; }
};

// A started process, ended (with the children of its job) if it still runs
// when this goes away.
struct SaverProcess {
    SaverProcess() = default;
    SaverProcess(const SaverProcess&) = delete;
    ~SaverProcess();
    HANDLE process = nullptr, children = nullptr;
    DWORD id = 0;
};

// Starts commandLine as it is; withChildren: WaitForExit also waits for
// every process it starts.
bool StartProgram(const std::string& commandLine, SaverProcess& started, bool withChildren = false);
// "<program in quotes> <tail>", as the platform starts a saver.
bool StartSaver(const std::string& program, const std::string& tail, SaverProcess& started);
DWORD WaitForExit(SaverProcess& running);  // serving this thread's windows; the exit code, or NoExit
bool StillRunning(const SaverProcess& running);
DWORD RunSaver(const std::string& tail);  // the saver at SaverPath(), to its end

// Serves this thread's windows until a window of the process (or a child of
// parent) of this class and title is shown; null if the process ends first.
HWND WaitForWindow(const SaverProcess& running, const char* className, const char* title, HWND parent = nullptr);
HWND WaitForFullScreen(const SaverProcess& running);

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
