#include "support/TestSupport.h"

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

SaverProcess::~SaverProcess()
{
    if (children) TerminateJobObject(children, NoExit), CloseHandle(children);
    if (process) WaitForSingleObject(process, Patience), CloseHandle(process);
}

bool StartProgram(const std::string& program, const std::string& tail, SaverProcess& started)
{
    std::string line = "\"" + program + "\" " + tail;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    // Wine now and then refuses a start at once (a preview's, twice in about
    // ninety suite runs, never at will): a start is tried three times.
    for (int tries = 1; !CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE,
                                        CREATE_SUSPENDED, nullptr, nullptr, &startup, &info);
         ++tries) {
        if (tries == 3) return false;
        Sleep(200);
    }
    AssignProcessToJobObject(started.children = CreateJobObjectA(nullptr, nullptr), info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    started.process = info.hProcess;
    started.id = info.dwProcessId;
    return true;
}

DWORD WaitForExit(SaverProcess& running)
{
    DWORD exitCode = NoExit;
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION job = {};
    const bool ended = PumpUntil([&] {
        return !StillRunning(running) && GetExitCodeProcess(running.process, &exitCode) &&
               !(QueryInformationJobObject(running.children, JobObjectBasicAccountingInformation,
                                           &job, sizeof job, nullptr) &&
                 job.ActiveProcesses);
    });
    if (!ended) return NoExit;  // the destructor ends it
    CloseHandle(running.process), CloseHandle(running.children);
    running.process = running.children = nullptr;
    return exitCode;
}

bool StillRunning(const SaverProcess& running)
{
    return running.process && WaitForSingleObject(running.process, 0) == WAIT_TIMEOUT;
}

HWND WaitForWindow(const SaverProcess& running, const char* title, const char* className,
                   HWND parent)
{
    HWND found = nullptr;
    PumpUntil([&] {
        const bool ended = !StillRunning(running);
        for (HWND window = FindWindowExA(parent, nullptr, className, title); window && !found;
             window = FindWindowExA(parent, window, className, title)) {
            DWORD owner = 0;
            char text[64] = "";  // the search ignores case; the title may not
            GetWindowThreadProcessId(window, &owner);
            GetWindowTextA(window, text, sizeof text);
            if ((parent || owner == running.id) && lstrcmpA(text, title) == 0 &&
                IsWindowVisible(window))
                found = window;
        }
        return found || ended;
    });
    return found;
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    for (const DWORD start = GetTickCount(); !(done && done());
         MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return done && done();
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (GetTickCount() - start >= ms) return done && done();
    }
    return true;
}

HWND MakeTestWindow(const char* title)
{
    HWND window = CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320,
                                  240, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(window);
    Pump(50);
    return window;
}

MSG ParentMessage;

static LRESULT CALLBACK RecordParentMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_HELP && message != WM_CONTEXTMENU)
        return DefWindowProcA(window, message, wParam, lParam);
    ParentMessage = {window, message, wParam, lParam, 0, {0, 0}};
    return 1;
}

HWND MakeParentWindow(int width, int height)
{
    HWND window = CreateWindowExA(0, "STATIC", "Embrix preview parent",
                                  WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                                  nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordParentMessage));
    return window;
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

std::string ReadText(HKEY root, const char* key, const char* name)
{
    char text[2048];
    DWORD size = sizeof text;
    const LSTATUS read = RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return read == ERROR_SUCCESS ? text : "<none>";
}

void PutText(HKEY root, const char* key, const char* name, const char* text)
{
    if (text)
        RegSetKeyValueA(root, key, name, REG_SZ, text, lstrlenA(text) + 1);
    else
        RegDeleteKeyValueA(root, key, name);
}

KeptValue::KeptValue(HKEY rootKey, const char* keyName, const char* valueName)
    : root(rootKey), key(keyName), name(valueName)
{
    had = RegGetValueA(root, keyName, valueName, RRF_RT_ANY | RRF_NOEXPAND, &type, bytes, &size) ==
          ERROR_SUCCESS;
}

KeptValue::~KeptValue()
{
    if (had)
        RegSetKeyValueA(root, key.c_str(), name.c_str(), type, bytes, size);
    else
        RegDeleteKeyValueA(root, key.c_str(), name.c_str());
}

std::string SettingsFilePath()
{
    char folder[MAX_PATH];
    return std::string(folder, GetWindowsDirectoryA(folder, MAX_PATH)) + "\\control.ini";
}

bool WriteSettingsSection(const char* lines)
{
    if (!lines)
        return DeleteFileA(SettingsFilePath().c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
    return WriteWholeFile(SettingsFilePath(), std::string("[Screen Saver.Embrix]\r\n") + lines);
}

void SetUsePassword(bool wanted)
{
    const DWORD one = 1;
    const char key[] = "Control Panel\\Desktop", name[] = "ScreenSaveUsePassword";
    if (wanted)
        RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_DWORD, &one, sizeof one);
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, key, name);
}

KeptSettings::KeptSettings()
    : hadFile(GetFileAttributesA(SettingsFilePath().c_str()) != INVALID_FILE_ATTRIBUTES),
      file(ReadWholeFile(SettingsFilePath())),
      password(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword")
{
}

KeptSettings::~KeptSettings()
{
    if (hadFile)
        WriteWholeFile(SettingsFilePath(), file);
    else
        DeleteFileA(SettingsFilePath().c_str());
}

Screenshot CaptureScreen()
{
    Screenshot shot;
    shot.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, shot.width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, height, screen, GetSystemMetrics(SM_XVIRTUALSCREEN),
           GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    shot.pixels.resize(static_cast<size_t>(shot.width) * height);
    GetDIBits(memory, bitmap, 0, height, shot.pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}
