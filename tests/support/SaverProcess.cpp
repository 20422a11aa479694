#include "support/SaverProcess.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string ProgramFolder()
{
    char path[MAX_PATH];
    const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of("\\/") + 1);
}

std::string SaverPath()
{
    return ProgramFolder() + "..\\Embrix.scr";
}

std::string HandleText(HWND window)
{
    return std::to_string(reinterpret_cast<ULONG_PTR>(window));
}

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

namespace {

void Close(SaverProcess& running)
{
    CloseHandle(running.process);
    if (running.children) CloseHandle(running.children);
    running.process = running.children = nullptr;
}

}  // namespace

SaverProcess::~SaverProcess()
{
    if (!process) return;
    if (children) TerminateJobObject(children, NoExit);
    TerminateProcess(process, NoExit);
    WaitForSingleObject(process, Patience);
    Close(*this);
}

bool StartProgram(const std::string& commandLine, SaverProcess& started, bool withChildren)
{
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &info))
        return false;
    if (withChildren)
        AssignProcessToJobObject(started.children = CreateJobObjectA(nullptr, nullptr),
                                 info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    started.process = info.hProcess;
    started.id = info.dwProcessId;
    return true;
}

bool StartSaver(const std::string& program, const std::string& tail, SaverProcess& started)
{
    return StartProgram("\"" + program + "\" " + tail, started);
}

DWORD WaitForExit(SaverProcess& running)
{
    DWORD exitCode = NoExit;
    for (const DWORD start = GetTickCount(); running.process && GetTickCount() - start < Patience;
         Pump(20)) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION job = {};
        if (!StillRunning(running) && GetExitCodeProcess(running.process, &exitCode) &&
            !(running.children &&
              QueryInformationJobObject(running.children, JobObjectBasicAccountingInformation, &job,
                                        sizeof job, nullptr) &&
              job.ActiveProcesses)) {
            Close(running);
            return exitCode;
        }
    }
    return NoExit;  // the destructor ends it
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

HWND WaitForWindow(const SaverProcess& running, const char* className, const char* title,
                   HWND parent)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < Patience; Pump(20)) {
        const bool ended = !StillRunning(running);
        for (HWND window = FindWindowExA(parent, nullptr, className, title); window;
             window = FindWindowExA(parent, window, className, title)) {
            DWORD owner = 0;
            char text[64] = "";  // the search ignores case; the title may not
            GetWindowThreadProcessId(window, &owner);
            GetWindowTextA(window, text, sizeof text);
            if ((parent || owner == running.id) && lstrcmpA(text, title) == 0 &&
                IsWindowVisible(window))
                return window;
        }
        if (ended) return nullptr;
    }
    return nullptr;
}

HWND WaitForFullScreen(const SaverProcess& running)
{
    return WaitForWindow(running, "WindowsScreenSaverClass", "Screen Saver");
}

void PressKey(WORD key)
{
    keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
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
    HWND window = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320,
                                  240, nullptr, nullptr, nullptr, nullptr);
    Pump(50);
    return window;
}

HWND MakeParentWindow(int width, int height)
{
    return CreateWindowExA(0, "STATIC", "Embrix preview parent",
                           WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, nullptr,
                           nullptr, nullptr, nullptr);
}

std::string MakeScratchFolder(const char* name)
{
    const std::string folder =
        (std::filesystem::temp_directory_path() /
         ("embrix-" + std::string(name) + "-" + std::to_string(GetCurrentProcessId())))
            .string() +
        "\\";
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
    return static_cast<bool>(std::ofstream(path, std::ios::binary) << content << std::flush);
}
