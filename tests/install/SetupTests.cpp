// The setup as a user meets it, installing and uninstalling silently.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

#include "support/TestSupport.h"

namespace {

const char UninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Embrix";
const char DesktopKey[] = "Control Panel\\Desktop";
const char SaverValue[] = "SCRNSAVE.EXE";  // where Windows keeps the current screen saver
const char Other[] = "C:\\windows\\system32\\Other.scr";

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string Folder(UINT(WINAPI* get)(LPSTR, UINT))  // empty when there is none
{
    char path[MAX_PATH] = {};
    const UINT length = get(path, MAX_PATH);
    return length ? std::string(path, length) + "\\" : "";
}

const std::string SystemFolder = Folder(GetSystemDirectoryA);
// Where 32-bit programs find the system on 64-bit Windows.
const std::string Wow64Folder = Folder(GetSystemWow64DirectoryA);
const std::string InstalledSaver = SystemFolder + "Embrix.scr";
const std::string Saver32 = (Wow64Folder.empty() ? SystemFolder : Wow64Folder) + "Embrix.scr";
const std::string ProgramFiles = std::string(std::getenv("ProgramFiles")) + "\\";
const std::string InstallFolder = ProgramFiles + "Embrix\\";

std::string CurrentSaver()
{
    return ReadText(HKEY_CURRENT_USER, DesktopKey, SaverValue);
}
std::string UninstallValue(const char* name)
{
    return ReadText(HKEY_LOCAL_MACHINE, UninstallKey, name);
}

const char* const SetupProgram = std::getenv("EMBRIX_SETUP");

DWORD Run(const std::string& program, const std::string& tail)
{
    SaverProcess run;
    return StartProgram(program, tail, run) ? WaitForExit(run) : NoExit;
}
DWORD Install(const char* switches)
{
    return Run(SetupProgram, std::string("/S") + switches);
}
DWORD Uninstall()  // the UninstallString checked below
{
    return Run(InstallFolder + "Uninstall.exe", "/S");
}

// What the setup may change: the files of the folders it writes to, the
// registry's lists of vendors and installed programs, the desktop's settings
// and the settings file. Lower-case path -> size and time, or data.
typedef std::map<std::string, std::string> Snapshot;

Snapshot TakeSnapshot()
{
    Snapshot shot;
    for (const std::string& folder : {SystemFolder, Wow64Folder, ProgramFiles, InstallFolder}) {
        WIN32_FIND_DATAA found;
        HANDLE search =
            folder.empty() ? INVALID_HANDLE_VALUE : FindFirstFileA((folder + "*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            if (found.cFileName[0] != '.')  // not "." and ".."
                shot[Lower(folder + found.cFileName)] =
                    std::to_string(found.dwFileAttributes) + " " +
                    std::to_string(found.nFileSizeLow) + " " +
                    std::to_string(found.ftLastWriteTime.dwLowDateTime);
        FindClose(search);
    }
    const std::pair<HKEY, const char*> keys[] = {{HKEY_LOCAL_MACHINE, "Software"},
                                                 {HKEY_LOCAL_MACHINE, UninstallRoot},
                                                 {HKEY_LOCAL_MACHINE, UninstallKey},
                                                 {HKEY_CURRENT_USER, "Software"},
                                                 {HKEY_CURRENT_USER, DesktopKey}};
    for (auto [root, name] : keys) {  // the key's values and the names of its subkeys
        HKEY key;
        if (RegOpenKeyExA(root, name, 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
        const std::string at =
            (root == HKEY_CURRENT_USER ? "hkcu\\" : "hklm\\") + Lower(name) + "\\";
        char item[256];
        BYTE data[16384];
        for (DWORD i = 0, itemSize = sizeof item, size = sizeof data;
             RegEnumValueA(key, i, item, &itemSize, nullptr, nullptr, data, &size) == ERROR_SUCCESS;
             ++i, itemSize = sizeof item, size = sizeof data)
            shot[at + Lower(item)] = std::string(reinterpret_cast<char*>(data), size);
        for (DWORD i = 0, itemSize = sizeof item;
             RegEnumKeyExA(key, i, item, &itemSize, nullptr, nullptr, nullptr, nullptr) ==
             ERROR_SUCCESS;
             ++i, itemSize = sizeof item)
            shot[at + Lower(item) + "\\"] = "key";
        RegCloseKey(key);
    }
    shot["control.ini"] = ReadWholeFile(SettingsFilePath());
    return shot;
}

typedef std::set<std::string> Changes;  // "+ path", "- path" or "~ path" for each that differs

Changes Compare(const Snapshot& before, const Snapshot& after)
{
    Changes changes;
    for (const auto& [path, was] : before)
        if (!after.count(path) || after.at(path) != was)
            changes.insert((after.count(path) ? "~ " : "- ") + path);
    for (const auto& entry : after)
        if (!before.count(entry.first)) changes.insert("+ " + entry.first);
    return changes;
}

std::string VersionString(const std::string& path, const char* name)
{
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored) + 1);
    char* text = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
        return "<missing>";
    return text;
}

// An interrupted run, or a faulty uninstall, must not spoil the next test.
void RemoveLeftovers()
{
    if (UninstallValue("UninstallString") != "<none>") Uninstall();
    DeleteFileA(InstalledSaver.c_str()), DeleteFileA(Saver32.c_str());
    DeleteFileA((InstallFolder + "Uninstall.exe").c_str());
    RemoveDirectoryA(InstallFolder.c_str());
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, UninstallKey, KEY_WOW64_64KEY, 0);
}

struct Setup : ::testing::Test {
    void SetUp() override
    {
        BOOL wow64 = FALSE;
        IsWow64Process(GetCurrentProcess(), &wow64);
        if (wow64)
            GTEST_SKIP() << "on 64-bit Windows the 64-bit build of these tests checks the setup";
        ASSERT_TRUE(SetupProgram && GetFileAttributesA(SetupProgram) != INVALID_FILE_ATTRIBUTES)
            << "no setup program in EMBRIX_SETUP: tools/make-dist builds it";
        // Under Wine the first program to need the desktop starts the process
        // that owns it; that must be this one, not a setup waited for to the end.
        GetDesktopWindow();
        RemoveLeftovers();
        // The user's own, which an uninstall leaves alone.
        ASSERT_TRUE(WriteSettingsSection("Size=2\r\n"));
    }
    void TearDown() override
    {
        RemoveLeftovers();
    }

    KeptSettings kept;
    KeptValue keptSaver{HKEY_CURRENT_USER, DesktopKey, SaverValue};
};

TEST_F(Setup, SilentInstallPutsTheSaversWhereWindowsLooksAndUninstallTakesThemBack)
{
    PutText(HKEY_CURRENT_USER, DesktopKey, SaverValue, Other);
    const Snapshot before = TakeSnapshot();
    ASSERT_EQ(Install(""), 0u);

    // Each folder gets the saver its programs can load.
    EXPECT_TRUE(ReadWholeFile(InstalledSaver) == ReadWholeFile(SaverPath()))
        << "the setup holds another build of the saver: tools/make-dist makes it anew";
    DWORD kind = 0xFF;
    EXPECT_TRUE(GetBinaryTypeA(Saver32.c_str(), &kind) && kind == SCS_32BIT_BINARY) << kind;
    for (const std::string& saver : {InstalledSaver, Saver32}) {
        SCOPED_TRACE(saver);
        for (const auto& v : {std::pair<const char*, const char*>{"ProductName", "Embrix"},
                              {"FileDescription", "Embrix fire screen saver"},
                              {"FileVersion", EMBRIX_VERSION_TEXT},
                              {"ProductVersion", EMBRIX_VERSION_TEXT},
                              {"OriginalFilename", "Embrix.scr"}})
            EXPECT_EQ(VersionString(saver, v.first), v.second) << v.first;
    }
    Changes added;
    for (const std::string& path :
         {ProgramFiles + "Embrix", InstallFolder + "Uninstall.exe", InstalledSaver, Saver32})
        added.insert("+ " + Lower(path));
    for (const char* value :
         {"", "DisplayIcon", "DisplayName", "DisplayVersion", "EstimatedSize", "InstallLocation",
          "NoModify", "NoRepair", "Publisher", "QuietUninstallString", "UninstallString"})
        added.insert("+ " + Lower(std::string("HKLM\\") + UninstallKey + "\\" + value));
    EXPECT_EQ(Compare(before, TakeSnapshot()), added);

    const std::string uninstall = UninstallValue("UninstallString");
    EXPECT_EQ(Lower(uninstall), Lower("\"" + InstallFolder + "Uninstall.exe\""));
    EXPECT_EQ(UninstallValue("QuietUninstallString"), uninstall + " /S");
    EXPECT_EQ(UninstallValue("DisplayName"), "Embrix");
    EXPECT_EQ(UninstallValue("DisplayVersion"), EMBRIX_VERSION_TEXT);
    EXPECT_EQ(CurrentSaver(), Other) << "only asked for, the current saver changes";

    SaverProcess saver;  // the installed saver runs as the system starts it
    ASSERT_TRUE(StartProgram(InstalledSaver, "/s", saver));
    PostMessageA(WaitForWindow(saver), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(WaitForExit(saver), 0u);

    EXPECT_EQ(Uninstall(), 0u);
    EXPECT_EQ(Compare(before, TakeSnapshot()), Changes());
}

// Made the current saver with /CURRENT, then uninstalled.
struct CurrentRow {
    const char* name;
    const char* before;  // the current saver before the install; null for none
    int installs;
    const char* since;  // chosen after the install
    const char* after;  // the current saver after the uninstall; null for none
};

const CurrentRow CurrentRows[] = {
    {"NoneBeforeIsNoneAfter", nullptr, 1, nullptr, nullptr},
    {"ReplacedSaverComesBackEvenAfterAReinstall", Other, 2, nullptr, Other},
    {"SaverChosenSinceStays", Other, 1, "C:\\windows\\system32\\Chosen.scr",
     "C:\\windows\\system32\\Chosen.scr"},
};

struct Current : Setup, ::testing::WithParamInterface<CurrentRow> {};

TEST_P(Current, UninstallPutsBackWhatEmbrixReplaced)
{
    const CurrentRow& row = GetParam();
    PutText(HKEY_CURRENT_USER, DesktopKey, SaverValue, row.before);
    const Snapshot before = TakeSnapshot();
    for (int i = 0; i < row.installs; ++i) ASSERT_EQ(Install(" /CURRENT"), 0u);
    EXPECT_EQ(Lower(CurrentSaver()), Lower(InstalledSaver));
    if (row.since) PutText(HKEY_CURRENT_USER, DesktopKey, SaverValue, row.since);
    EXPECT_EQ(Uninstall(), 0u);
    EXPECT_EQ(CurrentSaver(), row.after ? row.after : "<none>");
    PutText(HKEY_CURRENT_USER, DesktopKey, SaverValue, row.before);  // the rest as before
    EXPECT_EQ(Compare(before, TakeSnapshot()), Changes());
}

INSTANTIATE_TEST_SUITE_P(Setup, Current, ::testing::ValuesIn(CurrentRows), RowName());

}  // namespace
