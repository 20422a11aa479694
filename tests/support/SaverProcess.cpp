#include "support/SaverProcess.h"

#include <list>

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char text[256] = "";
    GetClassNameA(window, text, sizeof text);
    if (owner != search.processId || lstrcmpiA(text, search.className) != 0) return TRUE;
    GetWindowTextA(window, text, sizeof text);
    if (lstrcmpA(text, search.title) != 0) return TRUE;
    search.found = window;
    return FALSE;
}

// A window can be found while its creation still runs, before it is shown;
// tests look at it once it is.
HWND VisibleOrNull(HWND window) { return window && IsWindowVisible(window) ? window : nullptr; }

HWND FindProcessWindow(DWORD processId, const char* className, const char* title)
{
    WindowSearch search = {processId, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return VisibleOrNull(search.found);
}

template <typename Find>
HWND WaitForWindow(const Find& find, const SaverProcess& running)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < Patience) {
        if (HWND found = find()) return found;
        if (!StillRunning(running)) return find();
        Pump(20);
    }
    return nullptr;
}

void EndProcess(SaverProcess& running)
{
    if (running.children) TerminateJobObject(running.children, NoExit);
    TerminateProcess(running.process, NoExit);
    WaitForSingleObject(running.process, Patience);
    CloseHandle(running.process);
    if (running.children) CloseHandle(running.children);
    running.process = running.children = nullptr;
}

bool ChildrenRemain(HANDLE job)
{
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    return job && QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                            sizeof accounting, nullptr) &&
           accounting.ActiveProcesses != 0;
}

// Sets a variable for the children started meanwhile, then puts the old
// value back.
struct ChildEnvironment {
    ChildEnvironment(const std::string& variable, const std::string& value)
        : name(variable), old(EnvironmentValue(variable.c_str())),
          had(GetEnvironmentVariableA(variable.c_str(), nullptr, 0) != 0)
    {
        SetEnvironmentVariableA(name.c_str(), value.c_str());
    }
    ~ChildEnvironment() { SetEnvironmentVariableA(name.c_str(), had ? old.c_str() : nullptr); }
    std::string name, old;
    bool had;
};

}  // namespace

std::string ProgramFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string SaverPath() { return ProgramFolder() + "..\\Embrix.scr"; }

std::string HandleText(HWND window)
{
    return std::to_string(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
}

SaverProcess::~SaverProcess()
{
    if (process) EndProcess(*this);
}

bool StartProgram(const std::string& program, const std::string& commandLine,
                  SaverProcess& started, const ExtraEnvironment& extra, bool withChildren)
{
    std::list<ChildEnvironment> forChild;  // the child copies this environment
    for (const auto& variable : extra) forChild.emplace_back(variable.first, variable.second);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program.empty() ? nullptr : program.c_str(), line.data(), nullptr,
                        nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup, &info))
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

bool StartSaver(const std::string& program, const std::string& tail, SaverProcess& started,
                const ExtraEnvironment& extra)
{
    return StartProgram(program, "\"" + program + "\" " + tail, started, extra);
}

DWORD WaitForExit(SaverProcess& running)
{
    if (!running.process) return NoExit;
    const DWORD start = GetTickCount();
    DWORD exitCode = NoExit;
    for (DWORD waited = 0; waited < Patience; waited = GetTickCount() - start) {
        if (exitCode == NoExit &&
            MsgWaitForMultipleObjects(1, &running.process, FALSE, Patience - waited,
                                      QS_ALLINPUT) == WAIT_OBJECT_0)
            GetExitCodeProcess(running.process, &exitCode);
        if (exitCode != NoExit && !ChildrenRemain(running.children)) {
            CloseHandle(running.process);
            if (running.children) CloseHandle(running.children);
            running.process = running.children = nullptr;
            return exitCode;
        }
        Pump(exitCode == NoExit ? 0 : 20);
    }
    EndProcess(running);
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
    return WaitForWindow(
        [&] { return FindProcessWindow(running.id, "WindowsScreenSaverClass", "Screen Saver"); },
        running);
}

HWND WaitForPreview(HWND parent, const SaverProcess& running)
{
    return WaitForWindow(
        [&] {
            return VisibleOrNull(
                FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", "Preview"));
        },
        running);
}

HWND WaitForSettingsDialog(const SaverProcess& running)
{
    return WaitForWindow(
        [&] { return FindProcessWindow(running.id, "#32770", "Embrix settings"); }, running);
}

void PressKey(WORD key)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
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
                                  320, 240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Pump(50);
    return window;
}

HWND MakeParentWindow(int width, int height)
{
    return CreateWindowExA(0, "STATIC", "Embrix preview parent",
                           WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::string MakeScratchFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "embrix-" + name + "-" +
                               std::to_string(GetCurrentProcessId()) + "\\";
    RemoveScratchFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveScratchFolder(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + entry.cFileName).c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string ReadWholeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string content;
    std::vector<char> buffer(65536);
    DWORD got = 0;
    while (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got)
        content.append(buffer.data(), got);
    CloseHandle(file);
    return content;
}

bool WriteWholeFile(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool complete =
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    return CloseHandle(file) && complete;
}

std::string EnvironmentValue(const char* name)
{
    std::vector<char> value(32768);
    const DWORD length = GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size()) return std::string();
    return std::string(value.data(), length);
}
