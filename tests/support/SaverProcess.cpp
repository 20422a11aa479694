#include "support/SaverProcess.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The window, once shown, of this class and title: a child of parent, or
// else a top-level window of the process.
HWND ShownWindow(const SaverProcess& running, HWND parent, const char* className, const char* title)
{
    for (HWND window = FindWindowExA(parent, nullptr, className, title); window;
         window = FindWindowExA(parent, window, className, title)) {
        DWORD owner = 0;
        char text[64] = "";
        GetWindowThreadProcessId(window, &owner);
        GetWindowTextA(window, text, sizeof text);
        if ((parent || owner == running.id) && lstrcmpA(text, title) == 0)
            return IsWindowVisible(window) ? window : nullptr;
    }
    return nullptr;
}

HWND WaitForWindow(const SaverProcess& running, HWND parent, const char* className, const char* title)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < Patience; Pump(20)) {
        if (HWND found = ShownWindow(running, parent, className, title)) return found;
        if (!StillRunning(running)) return ShownWindow(running, parent, className, title);
    }
    return nullptr;
}

void Forget(SaverProcess& running)
{
    CloseHandle(running.process);
    if (running.children) CloseHandle(running.children);
    running.process = running.children = nullptr;
}

void End(SaverProcess& running)
{
    if (running.children) TerminateJobObject(running.children, NoExit);
    TerminateProcess(running.process, NoExit);
    WaitForSingleObject(running.process, Patience);
    Forget(running);
}

bool ChildrenRemain(HANDLE job)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    return job && QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                            sizeof accounting, nullptr) && accounting.ActiveProcesses;
}

}  // namespace

std::string ProgramFolder()
{
    char path[MAX_PATH];
    const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of("\\/") + 1);
}

std::string SaverPath() { return ProgramFolder() + "..\\Embrix.scr"; }

std::string HandleText(HWND window)
{
    return std::to_string(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
}

SaverProcess::~SaverProcess()
{
    if (process) End(*this);
}

bool StartProgram(const std::string& program, const std::string& commandLine,
                  SaverProcess& started, bool withChildren)
{
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program.empty() ? nullptr : program.c_str(), &line[0], nullptr, nullptr,
                        FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup, &info))
        return false;
    if (withChildren) {
        started.children = CreateJobObjectA(nullptr, nullptr);
        AssignProcessToJobObject(started.children, info.hProcess);
    }
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    started.process = info.hProcess;
    started.id = info.dwProcessId;
    return true;
}

bool StartSaver(const std::string& program, const std::string& tail, SaverProcess& started)
{
    return StartProgram(program, "\"" + program + "\" " + tail, started);
}

DWORD WaitForExit(SaverProcess& running)
{
    DWORD exitCode = NoExit;
    for (const DWORD start = GetTickCount(); running.process && GetTickCount() - start < Patience;) {
        if (exitCode == NoExit &&
            MsgWaitForMultipleObjects(1, &running.process, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0)
            GetExitCodeProcess(running.process, &exitCode);
        if (exitCode != NoExit && !ChildrenRemain(running.children)) {
            Forget(running);
            return exitCode;
        }
        Pump(exitCode == NoExit ? 0 : 20);
    }
    if (running.process) End(running);
    return NoExit;
}

bool StillRunning(const SaverProcess& running)
{
    return running.process && WaitForSingleObject(running.process, 0) == WAIT_TIMEOUT;
}

DWORD RunSaver(const std::string& tail)
{
    SaverProcess running;
    return StartSaver(SaverPath(), tail, running) ? WaitForExit(running) : NoExit;
}

HWND WaitForFullScreen(const SaverProcess& running)
{
    return WaitForWindow(running, nullptr, "WindowsScreenSaverClass", "Screen Saver");
}

HWND WaitForPreview(HWND parent, const SaverProcess& running)
{
    return WaitForWindow(running, parent, "WindowsScreenSaverClass", "Preview");
}

HWND WaitForSettingsDialog(const SaverProcess& running)
{
    return WaitForWindow(running, nullptr, "#32770", "Embrix settings");
}

void PressKey(WORD key)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (milliseconds != 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

HWND MakeTestWindow(const char* title)
{
    HWND window = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                  320, 240, nullptr, nullptr, nullptr, nullptr);
    Pump(50);
    return window;
}

HWND MakeParentWindow(int width, int height)
{
    return CreateWindowExA(0, "STATIC", "Embrix preview parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                           0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
}

std::string MakeScratchFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "embrix-" + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    RemoveScratchFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveScratchFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string ReadWholeFile(const std::string& path)
{
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

bool WriteWholeFile(const std::string& path, const std::string& content)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(file << content << std::flush);
}

std::string EnvironmentValue(const char* name)
{
    char value[32768];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return std::string(value, length < sizeof value ? length : 0);
}
