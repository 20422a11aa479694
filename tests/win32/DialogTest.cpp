// The settings dialog of a running saver, driven as a user would, and the
// resources the platform reads.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "support/TestSupport.h"

namespace {

// The dialog's controls in their order, as a user meets them.
constexpr int SizeSixteenth = 1, SizeEighth = 2, SizeQuarter = 3, ScalingNormal = 5,
              ScalingFullscreen = 6, NewFireTrackbar = 10, FireTypeTrackbar = 14, CancelButton = 15,
              OkButton = 16;

std::string Label(HWND control)
{
    char text[64] = "";
    GetClassNameA(control, text, sizeof text);
    if (lstrcmpiA(text, TRACKBAR_CLASSA) != 0) GetWindowTextA(control, text, sizeof text);
    return lstrcmpiA(text, TRACKBAR_CLASSA) == 0 ? "trackbar" : text;
}

struct SettingsDialog : ::testing::Test {
    void TearDown() override
    {
        DestroyWindow(foreground);
    }
    HWND Open(const std::string& tail)
    {
        return dialog = StartProgram(SaverPath(), tail, running)
                            ? WaitForWindow(running, "Embrix settings", "#32770")
                            : nullptr;
    }
    HWND Item(int place) const
    {
        HWND child = GetWindow(dialog, GW_CHILD);
        while (place-- > 0) child = GetWindow(child, GW_HWNDNEXT);
        return child;
    }
    LRESULT Ask(int place, UINT message) const
    {
        return SendMessageA(Item(place), message, 0, 0);
    }
    // "Fullscreen" disabled and never checked.
    void ExpectShown(int size, LRESULT newFire, LRESULT fireType) const
    {
        for (int place : {SizeSixteenth, SizeEighth, SizeQuarter, ScalingNormal, ScalingFullscreen})
            EXPECT_EQ(Ask(place, BM_GETCHECK), place == size || place == ScalingNormal) << place;
        EXPECT_FALSE(IsWindowEnabled(Item(ScalingFullscreen)));
        EXPECT_EQ(Ask(NewFireTrackbar, TBM_GETPOS), newFire);
        EXPECT_EQ(Ask(FireTypeTrackbar, TBM_GETPOS), fireType);
    }
    DWORD Click(int place)  // the exit code
    {
        PostMessageA(Item(place), BM_CLICK, 0, 0);
        return WaitForExit(running);
    }
    HWND Focus() const
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        return info.hwndFocus;
    }
    DWORD Key(WPARAM key)
    {
        PostMessageA(Focus(), WM_KEYDOWN, key, 0x00010001);
        return WaitForExit(running);
    }
    KeptSettings kept;
    HWND foreground = MakeTestWindow("Embrix display settings");
    SaverProcess running;
    HWND dialog = nullptr;
};

const char Section[] = "[Screen Saver.Embrix]\r\n";

struct ShownRow {
    const char* name;
    const char* file;  // the saver's section, in the order OK writes, or null for no file
    int size;
    LRESULT newFire, fireType;
    const char* stored;  // the section after OK (Enter when no file); null: as it was
};

const ShownRow ShownRows[] = {
    {"NoFile", nullptr, SizeEighth, 8, 10, "Size=4\r\nScaling=0\r\nNew fire=8\r\nFire type=10\r\n"},
    {"HighEnds", "Size=8\r\nScaling=0\r\nNew fire=16\r\nFire type=16\r\n", SizeSixteenth, 16, 16,
     nullptr},
    {"LowEnds", "Size=2\r\nScaling=0\r\nNew fire=0\r\nFire type=4\r\n", SizeQuarter, 0, 4, nullptr},
    {"JustAbove", "Size=16\r\nScaling=1\r\nNew fire=17\r\nFire type=17\r\n", SizeEighth, 0, 4,
     "Size=4\r\nScaling=0\r\nNew fire=0\r\nFire type=4\r\n"},
    {"JustBelow", "Size=0\r\nScaling=-1\r\nNew fire=-1\r\nFire type=3\r\n", SizeEighth, 0, 4,
     "Size=4\r\nScaling=0\r\nNew fire=0\r\nFire type=4\r\n"},
};

struct Shown : SettingsDialog, ::testing::WithParamInterface<ShownRow> {};

TEST_P(Shown, AsTheNearestAndOkStoresWhatIsShown)
{
    const ShownRow& row = GetParam();
    ASSERT_TRUE(WriteSettingsSection(row.file));
    ASSERT_NE(Open("/c"), nullptr);
    ExpectShown(row.size, row.newFire, row.fireType);
    if (!row.file)
        SendMessageA(Item(ScalingFullscreen), BM_SETCHECK, BST_CHECKED, 0);  // never read
    EXPECT_EQ(row.file ? Click(OkButton) : Key(VK_RETURN), 1u);
    EXPECT_EQ(ReadWholeFile(SettingsFilePath()),
              Section + std::string(row.stored ? row.stored : row.file));
}

INSTANTIATE_TEST_SUITE_P(Settings, Shown, ::testing::ValuesIn(ShownRows), RowName());

TEST_F(SettingsDialog, ShowsItsControlsOwnedByTheForeground)
{
    WriteSettingsSection(nullptr);
    ASSERT_NE(Open("/c"), nullptr);
    std::string controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        controls += Label(child) + "|";
    EXPECT_EQ(controls,
              "Fire size|1 / 16|1 / 8|1 / 4|Scaling|Normal size|Fullscreen|New fire|Often|Seldom|"
              "trackbar|Fire type|Wild|Slow|trackbar|Cancel|OK|");
    // The ranges, a page of 4 and a tick every 2 positions, both ends counted.
    for (int trackbar : {NewFireTrackbar, FireTypeTrackbar}) {
        EXPECT_EQ(Ask(trackbar, TBM_GETRANGEMIN), trackbar == NewFireTrackbar ? 0 : 4);
        EXPECT_EQ(Ask(trackbar, TBM_GETRANGEMAX), 16);
        EXPECT_EQ(Ask(trackbar, TBM_GETPAGESIZE), 4);
        EXPECT_EQ(Ask(trackbar, TBM_GETNUMTICS), trackbar == NewFireTrackbar ? 9 : 7);
    }
    // The focus on the first tab stop; checked radio buttons are their groups' stops.
    HWND stop = Focus();
    EXPECT_EQ(stop, GetNextDlgTabItem(dialog, nullptr, FALSE));
    std::string stops;
    for (int i = 0; i < 6; ++i, stop = GetNextDlgTabItem(dialog, stop, FALSE))
        stops += Label(stop) + "|";
    EXPECT_EQ(stops, "1 / 8|Normal size|trackbar|trackbar|Cancel|OK|");
    EXPECT_EQ(Item(NewFireTrackbar), GetNextDlgTabItem(dialog, Item(ScalingNormal), FALSE));
    EXPECT_EQ(Click(CancelButton), 0u);
    EXPECT_EQ(GetFileAttributesA(SettingsFilePath().c_str()), INVALID_FILE_ATTRIBUTES);
}

// Owned by the foreground with "/c" in either spelling, by nothing without a switch.
TEST_F(SettingsDialog, CancelAndEscapeWriteNothing)
{
    const std::string content = std::string(Section) + "Size=16\r\nNew fire=3\r\n";
    ASSERT_TRUE(WriteWholeFile(SettingsFilePath(), content));
    for (WPARAM key : {WPARAM(0), WPARAM(VK_ESCAPE), WPARAM(1)}) {
        ASSERT_NE(Open(key == 1 ? "" : key ? "-C" : "/c"), nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), key == 1 ? nullptr : foreground) << key;
        ExpectShown(SizeEighth, 3, 10);
        SendMessageA(Item(SizeQuarter), BM_CLICK, 0, 0);
        ExpectShown(SizeQuarter, 3, 10);  // one group: the scaling stays
        SendMessageA(Item(NewFireTrackbar), TBM_SETPOS, TRUE, 12);
        SendMessageA(Item(FireTypeTrackbar), TBM_SETPOS, TRUE, 5);
        EXPECT_EQ(key == VK_ESCAPE ? Key(key) : Click(CancelButton), 0u);
        EXPECT_EQ(ReadWholeFile(SettingsFilePath()), content);
    }
}

// The name the display settings list; one 32 x 32 icon of 16 colours; the
// manifest, read as the loader reads it, brings the themed common controls 6.
TEST(Resources, NameIconAndManifest)
{
    const std::string path = SaverPath();
    HMODULE saver = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(saver, nullptr) << path;
    char name[64] = "";
    LoadStringA(saver, 1, name, sizeof name);
    EXPECT_STREQ(name, "Embrix");
    HRSRC group = FindResourceA(saver, MAKEINTRESOURCEA(125), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(SizeofResource(saver, group), 6u + 14u);
    const BYTE entry[] = {1, 0, 32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 0x02, 0, 0, 1, 0};
    const void* data = LockResource(LoadResource(saver, group));
    EXPECT_EQ(std::memcmp(static_cast<const BYTE*>(data) + 4, entry, sizeof entry), 0);
    FreeLibrary(saver);
    ACTCTXA manifest = {};
    manifest.cbSize = sizeof manifest;
    manifest.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    manifest.lpSource = path.c_str();
    manifest.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE context = CreateActCtxA(&manifest);
    ULONG_PTR cookie = 0;
    ACTCTX_SECTION_KEYED_DATA comctl = {};
    comctl.cbSize = sizeof comctl;
    EXPECT_TRUE(ActivateActCtx(context, &cookie) &&
                FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         "comctl32.dll", &comctl));
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
}

}  // namespace
