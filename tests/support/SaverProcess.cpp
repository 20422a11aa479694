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
    if (owner != search.processId) return TRUE;
    char text[256] = "";
    GetClassNameA(window, text, sizeof text);
    if (lstrcmpiA(text, search.className) != 0) return TRUE;
    GetWindowTextA(window, text, sizeof text);
    if (lstrcmpA(text, search.title) != 0) return TRUE;
    search.found = window;
    return FALSE;
}

// A window can be found while its creation still runs, before it is shown;
// tests look at it once it is.
HWND VisibleOrNull(HWND window) { return window && IsWindowVisible(window) ? window : nullptr; }

void EndProcess(SaverProcess& running)
{
    TerminateProcess(running.process, NoExit);
    WaitForSingleObject(running.process, Patience);
    CloseHandle(running.process);
    running.process = nullptr;
}

}  // namespace

std::string ProgramFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string SaverPath() { return ProgramFolder() + "..\\Embrix.scr"; }

std::string QuotedCommand(const std::string& program, const std::string& tail)
{
    return "\"" + program + "\" " + tail;
}

SaverProcess::~SaverProcess()
{
    if (process) EndProcess(*this);
}

bool StartProgram(const std::string& program, const std::string& commandLine,
                  SaverProcess& started, const ExtraEnvironment& extra)
{
    // The child takes a copy of this environment; ours is put back at once.
    std::list<ChildEnvironment> forChild;
    for (const auto& variable : extra) forChild.emplace_back(variable.first.c_str(), variable.second);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    started.process = info.hProcess;
    started.id = info.dwProcessId;
    return true;
}

bool StartSaver(const std::string& program, const std::string& tail, SaverProcess& started,
                const ExtraEnvironment& extra)
{
    return StartProgram(program, QuotedCommand(program, tail), started, extra);
}

DWORD WaitForExit(SaverProcess& running)
{
    if (!running.process) return NoExit;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= Patience) break;
        const DWORD woke = MsgWaitForMultipleObjects(1, &running.process, FALSE,
                                                     Patience - waited, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            DWORD exitCode = NoExit;
            GetExitCodeProcess(running.process, &exitCode);
            CloseHandle(running.process);
            running.process = nullptr;
            return exitCode;
        }
        Pump(0);
    }
    EndProcess(running);
    return NoExit;
}

bool StillRunning(const SaverProcess& running)
{
    return running.process && WaitForSingleObject(running.process, 0) == WAIT_TIMEOUT;
}

DWORD RunToExit(const std::string& program, const std::string& commandLine)
{
    SaverProcess running;
    if (!StartProgram(program, commandLine, running)) return NoExit;
    return WaitForExit(running);
}

HWND WaitForWindow(const std::function<HWND()>& find, const SaverProcess& running)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < Patience) {
        if (HWND found = find()) return found;
        if (!StillRunning(running)) return find();
        Pump(20);
    }
    return nullptr;
}

HWND FindProcessWindow(DWORD processId, const char* className, const char* title)
{
    WindowSearch search = {processId, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForFullScreen(const SaverProcess& running)
{
    return WaitForWindow(
        [&] {
            return VisibleOrNull(
                FindProcessWindow(running.id, "WindowsScreenSaverClass", "Screen Saver"));
        },
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
        [&] { return VisibleOrNull(FindProcessWindow(running.id, "#32770", "Embrix settings")); },
        running);
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
    static ATOM registered = 0;
    if (registered == 0) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = "EmbrixTestWindow";
        registered = RegisterClassA(&windowClass);
    }
    HWND window = CreateWindowExA(0, "EmbrixTestWindow", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  40, 40, 320, 240, nullptr, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    Pump(50);
    return window;
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

bool CopyInto(const std::string& file, const std::string& folder, const char* newName)
{
    return CopyFileA(file.c_str(), (folder + newName).c_str(), FALSE) != FALSE;
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

ChildEnvironment::ChildEnvironment(const char* variable, const std::string& value)
    : name(variable),
      oldValue(EnvironmentValue(variable)),
      hadValue(GetEnvironmentVariableA(variable, nullptr, 0) != 0)
{
    SetEnvironmentVariableA(variable, value.c_str());
}

ChildEnvironment::~ChildEnvironment()
{
    SetEnvironmentVariableA(name.c_str(), hadValue ? oldValue.c_str() : nullptr);
}
