#include "bench/SaverLaunch.h"

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

bool StartFullScreenSaver(const std::string& saver, PROCESS_INFORMATION& process)
{
    std::string commandLine = "\"" + saver + "\" /s";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    process = {};
    return CreateProcessA(saver.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process) != FALSE;
}

HWND WaitForSaverWindow(const PROCESS_INFORMATION& saver)
{
    for (int waited = 0; waited < 60000; waited += 50) {
        HWND window = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
        DWORD owner = 0;
        if (window) GetWindowThreadProcessId(window, &owner);
        if (window && owner == saver.dwProcessId) return window;
        if (WaitForSingleObject(saver.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

FrameCounter StartCountingFrames(DWORD saverThread)
{
    FrameCounter counter = {};
    HMODULE library = LoadLibraryA((ProgramFolder() + "FrameCountHook.dll").c_str());
    if (!library) return counter;
    const auto procedure = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, "CountTimerMessages")));
    counter.request = reinterpret_cast<RequestFrameSampleFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "RequestFrameSample")));
    counter.taken = reinterpret_cast<TakenFrameSampleFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "TakenFrameSample")));
    if (procedure && counter.request && counter.taken)
        counter.hook = SetWindowsHookExA(WH_GETMESSAGE, procedure, library, saverThread);
    return counter;
}

bool TakeFrameSample(const FrameCounter& counter, FrameSample& sample)
{
    if (!counter.hook) return false;
    const LONG number = counter.request();
    for (int i = 0; i < 500; ++i) {
        if (counter.taken(number, &sample)) return true;
        Sleep(10);
    }
    return false;
}
