#include "reliability/SaverRun.h"

namespace {

constexpr char DesktopKey[] = "Control Panel\\Desktop";
constexpr char UsePasswordValue[] = "ScreenSaveUsePassword";

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

// The variable's value, and whether it was set at all.
std::pair<bool, std::string> EnvironmentValue(const std::string& name)
{
    std::vector<char> value(32768);
    const DWORD length =
        GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size()) return {false, std::string()};
    return {true, std::string(value.data(), length)};
}

}  // namespace

std::string ProgramFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string BuiltSaver() { return ProgramFolder() + "..\\Embrix.scr"; }

std::string EnvironmentOf(const std::string& name) { return EnvironmentValue(name).second; }

bool StartSaver(const std::string& program, const std::string& tail, SaverRun& run,
                const ExtraEnvironment& extra)
{
    // The child takes a copy of this environment; ours is put back at once.
    std::vector<std::pair<std::string, std::pair<bool, std::string>>> saved;
    for (const auto& variable : extra) {
        saved.push_back({variable.first, EnvironmentValue(variable.first)});
        SetEnvironmentVariableA(variable.first.c_str(), variable.second.c_str());
    }
    std::string line = "\"" + program + "\" " + tail;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    const bool started = CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &info) != FALSE;
    for (const auto& variable : saved) {
        SetEnvironmentVariableA(variable.first.c_str(),
                                variable.second.first ? variable.second.second.c_str() : nullptr);
    }
    if (!started) return false;
    CloseHandle(info.hThread);
    run.process = info.hProcess;
    run.id = info.dwProcessId;
    return true;
}

DWORD WaitForExit(SaverRun& run)
{
    if (!run.process) return NoExit;
    const DWORD start = GetTickCount();
    DWORD exitCode = NoExit;
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= Patience) {
            TerminateProcess(run.process, NoExit);
            WaitForSingleObject(run.process, Patience);
            break;
        }
        const DWORD woke =
            MsgWaitForMultipleObjects(1, &run.process, FALSE, Patience - waited, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            GetExitCodeProcess(run.process, &exitCode);
            break;
        }
        Pump(0);
    }
    CloseHandle(run.process);
    run.process = nullptr;
    return exitCode;
}

bool StillRunning(const SaverRun& run)
{
    return run.process && WaitForSingleObject(run.process, 0) == WAIT_TIMEOUT;
}

HWND WaitForWindow(const std::function<HWND()>& find, const SaverRun& run)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < Patience) {
        if (HWND found = find()) return found;
        if (!StillRunning(run)) return find();
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

HWND WaitForFullScreen(const SaverRun& run)
{
    return WaitForWindow(
        [&] { return FindProcessWindow(run.id, "WindowsScreenSaverClass", "Screen Saver"); }, run);
}

HWND WaitForSettingsDialog(const SaverRun& run)
{
    return WaitForWindow([&] { return FindProcessWindow(run.id, "#32770", "Embrix settings"); },
                         run);
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

std::string MakeScratchFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "embrix-reliability-" + name + "-" +
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

std::string SettingsFilePath()
{
    char folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder, length) + "\\control.ini";
}

bool WriteSettingsSection(const std::string& lines)
{
    return WriteWholeFile(SettingsFilePath(), "[Screen Saver.Embrix]\r\n" + lines);
}

int ReadSetting(const char* key, int defaultValue)
{
    return static_cast<int>(
        GetPrivateProfileIntA("Screen Saver.Embrix", key, defaultValue, "control.ini"));
}

void SetUsePassword(bool wanted)
{
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, DesktopKey, &key) != ERROR_SUCCESS) return;
    const DWORD one = 1;
    if (wanted)
        RegSetValueExA(key, UsePasswordValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                       sizeof one);
    else
        RegDeleteValueA(key, UsePasswordValue);
    RegCloseKey(key);
}

KeptSettings::KeptSettings() : hadFile(false), hadPassword(false), passwordType(0)
{
    const std::string path = SettingsFilePath();
    hadFile = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (hadFile) file = ReadWholeFile(path);

    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, DesktopKey, &key) == ERROR_SUCCESS) {
        DWORD size = 0;
        if (RegQueryValueExA(key, UsePasswordValue, nullptr, &passwordType, nullptr, &size) ==
            ERROR_SUCCESS) {
            password.resize(size);
            hadPassword = RegQueryValueExA(key, UsePasswordValue, nullptr, &passwordType,
                                           password.data(), &size) == ERROR_SUCCESS;
        }
        RegCloseKey(key);
    }
}

KeptSettings::~KeptSettings()
{
    const std::string path = SettingsFilePath();
    if (hadFile)
        WriteWholeFile(path, file);
    else
        DeleteFileA(path.c_str());

    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, DesktopKey, &key) != ERROR_SUCCESS) return;
    if (hadPassword)
        RegSetValueExA(key, UsePasswordValue, 0, passwordType, password.data(),
                       static_cast<DWORD>(password.size()));
    else
        RegDeleteValueA(key, UsePasswordValue);
    RegCloseKey(key);
}
