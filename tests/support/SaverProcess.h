// Programs started and watched from outside, as the platform starts a saver
// (..\Embrix.scr beside this program's folder) or a user a setup.
#pragma once
#include <windows.h>

#include <string>

constexpr DWORD Patience = 30000;     // a guard against hangs, never a statement about speed
constexpr DWORD NoExit = 0xDEADBEEF;  // what WaitForExit gives for a process it had to end

std::string ProgramFolder();  // with a trailing backslash
std::string SaverPath();
std::string HandleText(HWND window);  // in decimal, as a command line names a window
std::string EnvironmentValue(const char* name);

struct RowName {  // names each row of a parameterised case by its name
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& info) const
    {
        return info.param.name;
    }
};

struct SaverProcess {  // a started process, ended (children and all) if it runs when this goes
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
DWORD WaitForExit(
    SaverProcess& running);  // serving this thread's windows; the exit code, or NoExit
bool StillRunning(const SaverProcess& running);
DWORD RunSaver(const std::string& tail);  // the saver at SaverPath(), to its end

// Serves this thread's windows until a window of the process (or a child of
// parent) of this class and title is shown; null if the process ends first.
HWND WaitForWindow(const SaverProcess& running, const char* className, const char* title,
                   HWND parent = nullptr);
HWND WaitForFullScreen(const SaverProcess& running);

void PressKey(WORD key);        // down and up, through the platform's input
void Pump(DWORD milliseconds);  // serves this thread's windows (at least once)
HWND MakeTestWindow(
    const char* title);  // visible, top-level: the display settings or a foreground program
HWND MakeParentWindow(int width, int height);  // a visible frameless pop-up: a preview parent

std::string MakeScratchFolder(
    const char* name);  // empty, under the temporary folder; trailing backslash
void RemoveScratchFolder(const std::string& folder);
std::string ReadWholeFile(const std::string& path);  // empty when missing
bool WriteWholeFile(const std::string& path, const std::string& content);
