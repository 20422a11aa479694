// The built saver run as a separate process and watched from outside, the
// way the platform starts it: exit codes, its windows, scratch folders and
// the environment it inherits. The saver is ..\Embrix.scr beside the folder
// of the test program.
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
std::string SaverPath();      // ..\Embrix.scr from ProgramFolder()

// "<program in quotes> <tail>", the way the platform starts a saver.
std::string QuotedCommand(const std::string& program, const std::string& tail);

// A started process. One that still runs when this goes away is ended, so
// that a failed assertion leaves nothing running behind.
struct SaverProcess {
    SaverProcess() = default;
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    HANDLE process = nullptr;
    DWORD id = 0;
};

typedef std::vector<std::pair<std::string, std::string>> ExtraEnvironment;

// Starts program with exactly commandLine; the variables in extra are set for
// the child alone. The child inherits this process's error mode.
bool StartProgram(const std::string& program, const std::string& commandLine,
                  SaverProcess& started, const ExtraEnvironment& extra = {});
// Starts program with QuotedCommand(program, tail).
bool StartSaver(const std::string& program, const std::string& tail, SaverProcess& started,
                const ExtraEnvironment& extra = {});

// Serves this thread's windows while it waits; the exit code, or NoExit when
// the patience ran out (the process is then ended).
DWORD WaitForExit(SaverProcess& running);
bool StillRunning(const SaverProcess& running);
// Starts, waits, and gives the exit code; NoExit when it did not start or end.
DWORD RunToExit(const std::string& program, const std::string& commandLine);

// Serves this thread's windows until find() gives a window, the process ends
// or the patience runs out; the window or null.
HWND WaitForWindow(const std::function<HWND()>& find, const SaverProcess& running);
// A top-level window of the process with this class and title, or null.
HWND FindProcessWindow(DWORD processId, const char* className, const char* title);
// The saver's full-screen window, its preview inside parent, or its settings
// dialog, once shown.
HWND WaitForFullScreen(const SaverProcess& running);
HWND WaitForPreview(HWND parent, const SaverProcess& running);
HWND WaitForSettingsDialog(const SaverProcess& running);

// Serves this thread's windows for the time given (at least once).
void Pump(DWORD milliseconds);

// A visible top-level window of this thread, a stand-in for the platform's
// display settings or a foreground application.
HWND MakeTestWindow(const char* title);

// An empty folder of its own under the temporary folder, trailing backslash.
std::string MakeScratchFolder(const char* name);
void RemoveScratchFolder(const std::string& folder);
bool CopyInto(const std::string& file, const std::string& folder, const char* newName);
std::string ReadWholeFile(const std::string& path);  // empty when missing
bool WriteWholeFile(const std::string& path, const std::string& content);

std::string EnvironmentValue(const char* name);  // empty when not set

// Sets a variable for the children started from now on and puts the old
// value back when it goes out of scope.
struct ChildEnvironment {
    ChildEnvironment(const char* name, const std::string& value);
    ~ChildEnvironment();
    ChildEnvironment(const ChildEnvironment&) = delete;
    ChildEnvironment& operator=(const ChildEnvironment&) = delete;

    std::string name;
    std::string oldValue;
    bool hadValue;
};
