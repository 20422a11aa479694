// The setup program as a user meets it: a silent install puts the savers and
// the uninstall entry where Windows looks for them, the installed saver runs,
// and a silent uninstall takes back exactly what the install added.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "install/ProgramRun.h"
#include "install/SystemSnapshot.h"

namespace {

const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Embrix";
const char DesktopKey[] = "Control Panel\\Desktop";
// Where Windows keeps the path of the current screen saver.
const char SaverValue[] = "SCRNSAVE.EXE";
const DWORD SetupTimeoutMs = 120000;

std::string Lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Snapshot changes in the order CompareSnapshots gives them.
std::vector<std::string> SortedByPath(std::vector<std::string> changes)
{
    std::sort(changes.begin(), changes.end(),
              [](const std::string& a, const std::string& b) { return a.substr(2) < b.substr(2); });
    return changes;
}

std::string SetupPath()
{
    const char* path = std::getenv("EMBRIX_SETUP");
    return path ? path : "";
}

std::string SystemFolder()
{
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    return path;
}

// Where 32-bit programs find the system on 64-bit Windows; empty on 32-bit.
std::string Wow64Folder()
{
    if (sizeof(void*) == 4) return "";
    char path[MAX_PATH] = {};
    return GetSystemWow64DirectoryA(path, MAX_PATH) ? path : "";
}

std::string InstalledSaver() { return SystemFolder() + "\\Embrix.scr"; }

// The uninstaller's folder: Program Files of the setup's own kind.
std::string InstallFolder()
{
    char folder[MAX_PATH] = {};
    GetEnvironmentVariableA("ProgramFiles", folder, MAX_PATH);
    return std::string(folder) + "\\Embrix";
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Reads a string value; false when it is missing. The 64-bit registry view,
// where the setup writes its entry on 64-bit Windows.
bool ReadString(HKEY root, const char* key, const char* name, std::string& value)
{
    char data[2048] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return false;
    LONG result = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    value = data;
    return true;
}

std::string CurrentSaver()
{
    std::string value;
    return ReadString(HKEY_CURRENT_USER, DesktopKey, SaverValue, value) ? value : "<none>";
}

void SetCurrentSaver(const std::string& value)
{
    if (value == "<none>") {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, DesktopKey, SaverValue);
        return;
    }
    RegSetKeyValueA(HKEY_CURRENT_USER, DesktopKey, SaverValue, REG_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
}

bool IsInstalled()
{
    std::string ignored;
    return ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", ignored);
}

ProgramRun Install(const std::string& switches)
{
    return RunAndWait("\"" + SetupPath() + "\" /S" + switches, SetupTimeoutMs);
}

// Uninstalls the way the list of installed programs does: its command line.
ProgramRun Uninstall()
{
    std::string command;
    if (!ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", command)) return {};
    return RunAndWait(command + " /S", SetupTimeoutMs);
}

WORD MachineOf(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    std::vector<char> head(4096);
    DWORD read = 0;
    ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &read, nullptr);
    CloseHandle(file);
    if (read < sizeof(IMAGE_DOS_HEADER)) return 0;
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(head.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0 ||
        static_cast<DWORD>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > read)
        return 0;
    const IMAGE_NT_HEADERS32* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(head.data() + dos->e_lfanew);
    return nt->Signature == IMAGE_NT_SIGNATURE ? nt->FileHeader.Machine : 0;
}

std::string VersionString(const std::string& path, const char* name)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (!size) return "<no version>";
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return "<no version>";
    char* text = nullptr;
    UINT length = 0;
    std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
        return "<missing>";
    return text;
}

std::string SaverListName(const std::string& path)
{
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return "<cannot load>";
    char name[256] = {};
    LoadStringA(module, 1, name, sizeof name);
    FreeLibrary(module);
    return name;
}

std::string Describe(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text.empty() ? "(nothing)\n" : text;
}

struct SaverRun {
    bool windowShown = false;
    bool endedByKey = false;
    long exitCode = -2;  // -2: still running at the end
};

// Runs a saver full screen as the system does, from its path, and ends it
// with a key press.
SaverRun RunSaverUntilAKey(const std::string& saver)
{
    SaverRun run;
    std::string line = "\"" + saver + "\" /s";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return run;
    HWND window = nullptr;
    DWORD start = GetTickCount();
    while (!window && GetTickCount() - start < 15000) {
        Sleep(50);
        window = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
    }
    run.windowShown = window != nullptr;
    if (window) {
        Sleep(500);  // a few frames
        SetForegroundWindow(window);
        INPUT input[2] = {};
        input[0].type = INPUT_KEYBOARD;
        input[0].ki.wVk = VK_SPACE;
        input[1] = input[0];
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        run.endedByKey = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
        if (!run.endedByKey) PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        run.exitCode = static_cast<long>(exitCode);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

std::string FileBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

// The saver this build made, beside the tests' folder.
std::string BuiltSaver()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder + "..\\Embrix.scr";
}

// An interrupted run, or a faulty uninstall, must not spoil the next test.
void RemoveLeftovers()
{
    if (IsInstalled()) Uninstall();
    DeleteFileA(InstalledSaver().c_str());
    if (!Wow64Folder().empty()) DeleteFileA((Wow64Folder() + "\\Embrix.scr").c_str());
    DeleteFileA((InstallFolder() + "\\Uninstall.exe").c_str());
    RemoveDirectoryA(InstallFolder().c_str());
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, UninstallKey, KEY_WOW64_64KEY, 0);
}

// What an install adds, as snapshot entries; the values of the uninstall
// entry follow its key.
std::vector<std::string> ExpectedInstallChanges()
{
    std::string programFolder = Lower(InstallFolder()) + "\\";
    std::vector<std::string> added = {programFolder, programFolder + "uninstall.exe",
                                      Lower(InstalledSaver())};
    if (!Wow64Folder().empty()) added.push_back(Lower(Wow64Folder() + "\\Embrix.scr"));
    std::string key = Lower(std::string("HKLM\\") + UninstallKey) + "\\";
    added.push_back(key);
    for (const char* value : {"displayicon", "displayname", "displayversion", "estimatedsize",
                              "installlocation", "nomodify", "norepair", "publisher",
                              "quietuninstallstring", "uninstallstring"})
        added.push_back(key + value);
    std::vector<std::string> changes;
    for (const std::string& path : added) changes.push_back("+ " + path);
    return SortedByPath(changes);
}

class Setup : public ::testing::Test {
protected:
    void SetUp() override
    {
        BOOL wow64 = FALSE;
        IsWow64Process(GetCurrentProcess(), &wow64);
        if (wow64) GTEST_SKIP() << "on 64-bit Windows the 64-bit build of these tests checks the setup";
        ASSERT_FALSE(SetupPath().empty()) << "EMBRIX_SETUP names no setup program";
        ASSERT_TRUE(FileExists(SetupPath()))
            << "no setup program at " << SetupPath() << ": tools/make-dist builds it";
        // Under Wine the first program to need the desktop starts the process
        // that owns it; that must be this one, not a setup waited for to the end.
        GetDesktopWindow();
        RemoveLeftovers();
        savedSaver = CurrentSaver();
        // The user's own settings, which an uninstall must leave alone.
        WritePrivateProfileStringA("Screen Saver.Embrix", "Size", "4", "control.ini");
    }
    void TearDown() override
    {
        if (IsSkipped()) return;
        RemoveLeftovers();
        SetCurrentSaver(savedSaver);
        WritePrivateProfileStringA("Screen Saver.Embrix", nullptr, nullptr, "control.ini");
    }

    std::string savedSaver;
};

TEST_F(Setup, SilentInstallPutsTheSaversWhereWindowsLooksAndUninstallTakesThemBack)
{
    SetCurrentSaver("<none>");
    SystemSnapshot before = TakeSystemSnapshot();

    ProgramRun install = Install("");
    ASSERT_TRUE(install.started) << SetupPath();
    ASSERT_TRUE(install.finished);
    EXPECT_EQ(install.exitCode, 0u);
    SystemSnapshot installed = TakeSystemSnapshot();
    std::vector<std::string> added = CompareSnapshots(before, installed);
    EXPECT_EQ(Describe(added), Describe(ExpectedInstallChanges()));

    ASSERT_TRUE(FileExists(BuiltSaver())) << BuiltSaver();
    EXPECT_TRUE(FileBytes(InstalledSaver()) == FileBytes(BuiltSaver()))
        << "the setup holds another build of the saver: tools/make-dist makes it anew";
    // Each folder gets the saver its programs can load.
    WORD native = sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;
    EXPECT_EQ(MachineOf(InstalledSaver()), native);
    if (!Wow64Folder().empty()) {
        EXPECT_EQ(MachineOf(Wow64Folder() + "\\Embrix.scr"), IMAGE_FILE_MACHINE_I386);
    }

    std::vector<std::string> savers = {InstalledSaver()};
    if (!Wow64Folder().empty()) savers.push_back(Wow64Folder() + "\\Embrix.scr");
    for (const std::string& saver : savers) {
        SCOPED_TRACE(saver);
        EXPECT_EQ(SaverListName(saver), "Embrix");
        EXPECT_EQ(VersionString(saver, "ProductName"), "Embrix");
        EXPECT_EQ(VersionString(saver, "FileDescription"), "Embrix fire screen saver");
        EXPECT_EQ(VersionString(saver, "FileVersion"), EMBRIX_VERSION_TEXT);
        EXPECT_EQ(VersionString(saver, "ProductVersion"), EMBRIX_VERSION_TEXT);
        EXPECT_EQ(VersionString(saver, "OriginalFilename"), "Embrix.scr");
    }

    std::string uninstall, quiet, name, version;
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", uninstall));
    EXPECT_EQ(Lower(uninstall), Lower("\"" + InstallFolder() + "\\Uninstall.exe\""));
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "QuietUninstallString", quiet));
    EXPECT_EQ(quiet, uninstall + " /S");
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName", name));
    EXPECT_EQ(name, "Embrix");
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayVersion", version));
    EXPECT_EQ(version, EMBRIX_VERSION_TEXT);
    EXPECT_EQ(CurrentSaver(), "<none>") << "only asked for, the current saver changes";

    ProgramRun uninstallRun = Uninstall();
    ASSERT_TRUE(uninstallRun.started);
    ASSERT_TRUE(uninstallRun.finished);
    EXPECT_EQ(uninstallRun.exitCode, 0u);
    EXPECT_EQ(Describe(CompareSnapshots(before, TakeSystemSnapshot())), Describe({}));
    EXPECT_EQ(GetPrivateProfileIntA("Screen Saver.Embrix", "Size", 0, "control.ini"), 4);
}

TEST_F(Setup, CurrentSwitchMakesTheInstalledSaverTheOneTheSystemRuns)
{
    SetCurrentSaver("<none>");
    SystemSnapshot before = TakeSystemSnapshot();

    ProgramRun install = Install(" /CURRENT");
    ASSERT_TRUE(install.finished);
    EXPECT_EQ(install.exitCode, 0u);
    ASSERT_EQ(Lower(CurrentSaver()), Lower(InstalledSaver()));

    SaverRun run = RunSaverUntilAKey(CurrentSaver());
    EXPECT_TRUE(run.windowShown) << "the full-screen window of the installed saver";
    EXPECT_TRUE(run.endedByKey);
    EXPECT_EQ(run.exitCode, 0);

    ASSERT_TRUE(Uninstall().finished);
    EXPECT_EQ(CurrentSaver(), "<none>");
    EXPECT_EQ(Describe(CompareSnapshots(before, TakeSystemSnapshot())), Describe({}));
}

TEST_F(Setup, UninstallPutsBackTheSaverEmbrixReplacedEvenAfterAReinstall)
{
    const std::string previous = "C:\\windows\\system32\\Other.scr";
    SetCurrentSaver(previous);
    SystemSnapshot before = TakeSystemSnapshot();

    ASSERT_TRUE(Install(" /CURRENT").finished);
    ASSERT_TRUE(Install(" /CURRENT").finished);  // must not remember Embrix as the one replaced
    EXPECT_EQ(Lower(CurrentSaver()), Lower(InstalledSaver()));

    ASSERT_TRUE(Uninstall().finished);
    EXPECT_EQ(CurrentSaver(), previous);
    EXPECT_EQ(Describe(CompareSnapshots(before, TakeSystemSnapshot())), Describe({}));
}

TEST_F(Setup, UninstallLeavesASaverChosenSinceInstallAlone)
{
    SetCurrentSaver("C:\\windows\\system32\\Other.scr");
    ASSERT_TRUE(Install(" /CURRENT").finished);
    const std::string chosen = "C:\\windows\\system32\\Chosen.scr";
    SetCurrentSaver(chosen);
    SystemSnapshot before = TakeSystemSnapshot();

    ASSERT_TRUE(Uninstall().finished);
    EXPECT_EQ(CurrentSaver(), chosen);
    // Only what the install added goes.
    std::vector<std::string> removed;
    for (const std::string& change : ExpectedInstallChanges()) removed.push_back("- " + change.substr(2));
    removed.push_back("- " + Lower(std::string("HKLM\\") + UninstallKey) + "\\previousscreensaver");
    EXPECT_EQ(Describe(CompareSnapshots(before, TakeSystemSnapshot())), Describe(SortedByPath(removed)));
}

}  // namespace
