// The setup as a user meets it, installing and uninstalling silently.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestSupport.h"

namespace {

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

// What the setup made is gone; the user's settings stay.
void ExpectUninstalled()
{
    for (const std::string& path : {InstalledSaver, Saver32, ProgramFiles + "Embrix"})
        EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, UninstallKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(ReadWholeFile(SettingsFilePath()), "[Screen Saver.Embrix]\r\nSize=2\r\n");
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
    ExpectUninstalled();
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
    for (int i = 0; i < row.installs; ++i) ASSERT_EQ(Install(" /CURRENT"), 0u);
    EXPECT_EQ(Lower(CurrentSaver()), Lower(InstalledSaver));
    if (row.since) PutText(HKEY_CURRENT_USER, DesktopKey, SaverValue, row.since);
    EXPECT_EQ(Uninstall(), 0u);
    EXPECT_EQ(CurrentSaver(), row.after ? row.after : "<none>");
    ExpectUninstalled();
}

INSTANTIATE_TEST_SUITE_P(Setup, Current, ::testing::ValuesIn(CurrentRows), RowName());

}  // namespace
