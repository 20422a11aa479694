// Runs the saver full screen for a long while and samples what its process
// holds, to show that nothing grows:
//   SaverSoakDriver [seconds between samples] [minutes] [saver.scr]
// (defaults 60, 10 and ..\Embrix.scr beside this program's folder). One line
// per sample: private memory, GDI and USER objects, handles and, when
// FrameCountHook.dll lies beside this program, the frames drawn so far. Then a
// key press ends the saver and its exit code is printed; this program exits
// with 0 only when the saver ran throughout and ended with 0.
//
// Wine answers some of the platform's counters with 0; each such counter is
// replaced, once for the whole run, by the nearest honest count and the
// header says which:
// - PrivateUsage: PagefileUsage, which Wine takes from the process's
//   resident anonymous memory;
// - GetGuiResources(GR_GDIOBJECTS): the used entries of the process's GDI
//   handle table (its address is in the process's PEB);
// - GetGuiResources(GR_USEROBJECTS): the process's windows, children
//   included;
// - GetProcessHandleCount: the process's entries in the system handle list.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/SaverLaunch.h"

namespace {

constexpr DWORD Patience = 60000;  // for the window and the exit: a guard against hangs

// One entry of a GDI handle table (the same in 32- and 64-bit processes), and
// where the PEB keeps the table's address. The saver must be of this
// program's own kind, as the one beside it is.
struct GdiTableEntry {
    ULONGLONG kernelObject;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    ULONGLONG userData;
};
static_assert(sizeof(GdiTableEntry) == 24, "a GDI handle table entry is 24 bytes");
constexpr std::size_t GdiTableEntries = 0x10000;
constexpr std::size_t PebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

// Used entries of the saver's GDI handle table; -1 when it cannot be read.
// Wine keeps a table per process and leaves the owner 0, so every used entry
// is the saver's.
long CountGdiTableEntries(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                  &length) != 0) {
        return -1;
    }
    const void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process,
                           reinterpret_cast<const char*>(basic.PebBaseAddress) + PebGdiTableOffset,
                           &table, sizeof table, &read) ||
        !table) {
        return -1;
    }
    static std::vector<GdiTableEntry> entries(GdiTableEntries);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiTableEntry),
                           &read)) {
        return -1;
    }
    long used = 0;
    for (const GdiTableEntry& entry : entries) {
        if (entry.type != 0) ++used;
    }
    return used;
}

struct WindowCount {
    DWORD processId;
    long windows;
};

BOOL CALLBACK CountChildWindow(HWND, LPARAM parameter)
{
    ++reinterpret_cast<WindowCount*>(parameter)->windows;
    return TRUE;
}

BOOL CALLBACK CountProcessWindow(HWND window, LPARAM parameter)
{
    auto* count = reinterpret_cast<WindowCount*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->processId) {
        ++count->windows;
        EnumChildWindows(window, CountChildWindow, parameter);  // all descendants
    }
    return TRUE;
}

long CountProcessWindows(DWORD processId)
{
    WindowCount count = {processId, 0};
    EnumWindows(CountProcessWindow, reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

// One entry of the system's handle list (SystemExtendedHandleInformation).
struct SystemHandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};
struct SystemHandleList {
    ULONG_PTR count;
    ULONG_PTR reserved;
    SystemHandleEntry handles[1];
};
constexpr int SystemExtendedHandleInformation = 64;
constexpr NTSTATUS InfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

long CountSystemHandles(DWORD processId)
{
    static std::vector<char> buffer(1 << 20);
    NTSTATUS status;
    ULONG length = 0;
    while ((status = NtQuerySystemInformation(
                static_cast<SYSTEM_INFORMATION_CLASS>(SystemExtendedHandleInformation),
                buffer.data(), static_cast<ULONG>(buffer.size()), &length)) == InfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) return -1;
    const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
    long handles = 0;
    for (ULONG_PTR i = 0; i < list->count; ++i) {
        if (list->handles[i].processId == processId) ++handles;
    }
    return handles;
}

// Which source each counter comes from; decided at the first sample.
struct Sources {
    bool privateUsage;
    bool guiResources;
    bool userResources;
    bool handleCount;
};

struct Sample {
    unsigned long long privateKb;
    unsigned long long pagefileKb;
    unsigned long long workingSetKb;
    long gdiObjects;
    long userObjects;
    long handles;
};

Sample TakeSample(const PROCESS_INFORMATION& saver, const Sources& sources)
{
    Sample sample = {};
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(saver.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        sample.privateKb =
            (sources.privateUsage ? memory.PrivateUsage : memory.PagefileUsage) / 1024;
        sample.pagefileKb = memory.PagefileUsage / 1024;
        sample.workingSetKb = memory.WorkingSetSize / 1024;
    }
    sample.gdiObjects = sources.guiResources
                            ? static_cast<long>(GetGuiResources(saver.hProcess, GR_GDIOBJECTS))
                            : CountGdiTableEntries(saver.hProcess);
    sample.userObjects = sources.userResources
                             ? static_cast<long>(GetGuiResources(saver.hProcess, GR_USEROBJECTS))
                             : CountProcessWindows(saver.dwProcessId);
    DWORD handles = 0;
    sample.handles =
        sources.handleCount
            ? (GetProcessHandleCount(saver.hProcess, &handles) ? static_cast<long>(handles) : -1)
            : CountSystemHandles(saver.dwProcessId);
    return sample;
}

// A running saver holds memory, GDI objects, a window and handles: a counter
// that says 0 for it is one the platform does not keep.
Sources ChooseSources(const PROCESS_INFORMATION& saver)
{
    Sources sources = {};
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    sources.privateUsage =
        GetProcessMemoryInfo(saver.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory) &&
        memory.PrivateUsage != 0;
    sources.guiResources = GetGuiResources(saver.hProcess, GR_GDIOBJECTS) != 0;
    sources.userResources = GetGuiResources(saver.hProcess, GR_USEROBJECTS) != 0;
    DWORD handles = 0;
    sources.handleCount = GetProcessHandleCount(saver.hProcess, &handles) && handles != 0;
    std::printf("# private KB: %s\n", sources.privateUsage
                                          ? "PrivateUsage"
                                          : "PagefileUsage (PrivateUsage gives 0 here)");
    std::printf("# GDI: %s\n", sources.guiResources
                                   ? "GetGuiResources"
                                   : "used entries of its GDI handle table (GetGuiResources "
                                     "gives 0 here)");
    std::printf("# USER: %s\n", sources.userResources
                                    ? "GetGuiResources"
                                    : "its windows, children included (GetGuiResources gives 0 "
                                      "here)");
    std::printf("# handles: %s\n", sources.handleCount ? "GetProcessHandleCount"
                                                       : "its entries in the system handle list "
                                                         "(GetProcessHandleCount gives 0 here)");
    return sources;
}

// Counts the saver's timer messages through FrameCountHook.dll when it lies
// beside this program; frames are optional, everything else works without.
// Frames taken so far, or -1 when they are not counted.
long CountedFrames(const FrameCounter& counter)
{
    FrameSample sample = {};
    return TakeFrameSample(counter, sample) ? sample.frames : -1;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "SaverSoakDriver: %s (error %lu)\n", what, GetLastError());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const int interval = argc > 1 ? std::atoi(argv[1]) : 60;
    const int minutes = argc > 2 ? std::atoi(argv[2]) : 10;
    const std::string saver = argc > 3 ? argv[3] : ProgramFolder() + "..\\Embrix.scr";
    if (argc > 4 || interval <= 0 || minutes <= 0) {
        std::fprintf(stderr,
                     "usage: SaverSoakDriver [seconds between samples] [minutes] [saver.scr]\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // each sample shows as it is taken

    PROCESS_INFORMATION saverProcess = {};
    if (!StartFullScreenSaver(saver, saverProcess)) return Fail("the saver did not start");
    HWND window = WaitForSaverWindow(saverProcess);
    if (!window) {
        TerminateProcess(saverProcess.hProcess, 1);
        CloseHandle(saverProcess.hThread);
        CloseHandle(saverProcess.hProcess);
        return Fail("no saver window");
    }
    const FrameCounter frames = StartCountingFrames(saverProcess.dwThreadId);
    // The first frames fault in the grids and the surface (and the hook
    // library loads at the saver's next message): the first sample after.
    Sleep(2000);

    std::printf("saver %s, a sample every %d s for %d min\n", saver.c_str(), interval, minutes);
    const Sources sources = ChooseSources(saverProcess);
    std::printf("%6s %11s %11s %13s %5s %5s %8s %8s\n", "minute", "private KB", "pagefile KB",
                "working KB", "GDI", "USER", "handles", "frames");
    const ULONGLONG start = GetTickCount64();
    const ULONGLONG end = start + static_cast<ULONGLONG>(minutes) * 60000;
    bool ranThroughout = true;
    for (ULONGLONG due = start;; due += static_cast<ULONGLONG>(interval) * 1000) {
        const ULONGLONG now = GetTickCount64();
        if (due > now && WaitForSingleObject(saverProcess.hProcess,
                                             static_cast<DWORD>(due - now)) == WAIT_OBJECT_0) {
            ranThroughout = false;
            break;
        }
        const Sample sample = TakeSample(saverProcess, sources);
        std::printf("%6.1f %11llu %11llu %13llu %5ld %5ld %8ld %8ld\n",
                    static_cast<double>(GetTickCount64() - start) / 60000.0, sample.privateKb,
                    sample.pagefileKb, sample.workingSetKb, sample.gdiObjects, sample.userObjects,
                    sample.handles, CountedFrames(frames));
        if (due >= end) break;
    }
    if (frames.hook) UnhookWindowsHookEx(frames.hook);

    DWORD exitCode = STILL_ACTIVE;
    if (ranThroughout) {
        // The way a user ends it: a key.
        PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        if (WaitForSingleObject(saverProcess.hProcess, Patience) != WAIT_OBJECT_0) {
            std::printf("the saver did not end on a key press: ended by force\n");
            TerminateProcess(saverProcess.hProcess, 1);
            WaitForSingleObject(saverProcess.hProcess, Patience);
            ranThroughout = false;
        }
    } else {
        std::printf("the saver ended by itself during the run\n");
    }
    GetExitCodeProcess(saverProcess.hProcess, &exitCode);
    std::printf("exit code %lu\n", exitCode);
    CloseHandle(saverProcess.hThread);
    CloseHandle(saverProcess.hProcess);
    return ranThroughout && exitCode == 0 ? 0 : 1;
}
