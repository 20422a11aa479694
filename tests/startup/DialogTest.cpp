// The settings dialog of a running saver, driven from outside the way a user
// would: what it shows for what the settings file holds, what OK writes, and
// that Cancel and Escape write nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "support/KeptSettings.h"
#include "support/SaverProcess.h"
#include "startup/SettingsTemplate.h"

namespace {

constexpr int SizeSixteenth = 1007, SizeEighth = 1008, SizeQuarter = 1009;
constexpr int ScalingNormal = 1010, ScalingFullscreen = 1011;
constexpr int FireTypeTrackbar = 1018, NewFireTrackbar = 1019;
constexpr char Section[] = "[Screen Saver.Embrix]";

// The lines of the saver's section, in file order.
std::vector<std::string> SectionLines() {
    const std::string text = ReadWholeFile(SettingsFilePath());
    std::vector<std::string> lines;
    bool inside = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        if (!line.empty() && line[0] == '[') {
            inside = lstrcmpiA(line.c_str(), Section) == 0;
        } else if (inside && !line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::map<std::string, std::string> SectionValues() {
    std::map<std::string, std::string> values;
    for (const std::string& line : SectionLines()) {
        const size_t equals = line.find('=');
        values[line.substr(0, equals)] = equals == std::string::npos ? "" : line.substr(equals + 1);
    }
    return values;
}

std::string HandEdited(const char* lines) { return std::string(Section) + "\r\n" + lines; }

struct SettingsDialogTest : ::testing::Test {
    void SetUp() override {
        foreground = MakeTestWindow("Embrix display settings");
        SetForegroundWindow(foreground);
        Pump(50);
    }
    void TearDown() override { DestroyWindow(foreground); }

    // No file at all, or exactly this content.
    void UseSettingsFile(const std::string* content) {
        if (content == nullptr)
            DeleteFileA(SettingsFilePath().c_str());
        else
            ASSERT_TRUE(WriteWholeFile(SettingsFilePath(), *content));
    }

    // Starts the saver with this command line and waits until its dialog is
    // on screen; null when it did not come.
    HWND OpenWith(const std::string& commandLine) {
        if (!StartProgram(SaverPath(), commandLine, running)) return nullptr;
        dialog = WaitForSettingsDialog(running);
        return dialog;
    }
    HWND Open(const std::string& tail) { return OpenWith(QuotedCommand(SaverPath(), tail)); }

    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    LRESULT Position(int id) const { return SendMessageA(Item(id), TBM_GETPOS, 0, 0); }
    HWND Focus() const {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
        return info.hwndFocus;
    }

    // The size group shows exactly one button checked.
    void ExpectSizeShown(int checkedId) const {
        for (int id : {SizeSixteenth, SizeEighth, SizeQuarter})
            EXPECT_EQ(Checked(id), id == checkedId) << "button " << id;
    }
    void ExpectShown(int sizeId, LRESULT newFire, LRESULT fireType) const {
        ExpectSizeShown(sizeId);
        EXPECT_TRUE(Checked(ScalingNormal));
        EXPECT_FALSE(Checked(ScalingFullscreen));
        EXPECT_FALSE(IsWindowEnabled(Item(ScalingFullscreen)));
        EXPECT_EQ(Position(NewFireTrackbar), newFire);
        EXPECT_EQ(Position(FireTypeTrackbar), fireType);
    }

    // Ends the dialog the way the user would and gives the exit code.
    DWORD Press(int button) {
        PostMessageA(Item(button), BM_CLICK, 0, 0);
        return ExitCode();
    }
    DWORD PressKey(WPARAM key) {
        HWND target = Focus() ? Focus() : dialog;
        PostMessageA(target, WM_KEYDOWN, key, 0x00010001);
        PostMessageA(target, WM_KEYUP, key, 0xC0010001);
        return ExitCode();
    }
    DWORD ExitCode() {
        const DWORD exitCode = WaitForExit(running);
        EXPECT_NE(exitCode, NoExit) << "the dialog did not end";
        return exitCode;
    }

    KeptSettings kept;  // the prefix's own settings file comes back afterwards
    HWND foreground = nullptr;
    SaverProcess running;
    HWND dialog = nullptr;
};

TEST_F(SettingsDialogTest, WithoutSettingsShowsTheDefaultsAndOkWritesThemInOrder) {
    UseSettingsFile(nullptr);
    ASSERT_NE(Open("/c"), nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), foreground) << "\"/c\" is owned by the foreground";

    ExpectShown(SizeEighth, 8, 10);
    EXPECT_EQ(SendMessageA(Item(NewFireTrackbar), TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageA(Item(NewFireTrackbar), TBM_GETRANGEMAX, 0, 0), 16);
    EXPECT_EQ(SendMessageA(Item(FireTypeTrackbar), TBM_GETRANGEMIN, 0, 0), 4);
    EXPECT_EQ(SendMessageA(Item(FireTypeTrackbar), TBM_GETRANGEMAX, 0, 0), 16);
    for (int trackbar : {NewFireTrackbar, FireTypeTrackbar})
        EXPECT_EQ(SendMessageA(Item(trackbar), TBM_GETPAGESIZE, 0, 0), 4) << trackbar;
    // A tick every 2 positions, both ends counted.
    EXPECT_EQ(SendMessageA(Item(NewFireTrackbar), TBM_GETNUMTICS, 0, 0), 9);
    EXPECT_EQ(SendMessageA(Item(FireTypeTrackbar), TBM_GETNUMTICS, 0, 0), 7);

    // The dialog manager focuses the first tab stop once WM_INITDIALOG has
    // returned TRUE. Checking a radio button gives it a tab stop, so that is
    // "1 / 8", ahead of the New fire trackbar.
    EXPECT_EQ(Focus(), GetNextDlgTabItem(dialog, nullptr, FALSE));
    EXPECT_EQ(GetDlgCtrlID(Focus()), SizeEighth);

    EXPECT_EQ(Press(IDOK), 1u);
    EXPECT_EQ(SectionLines(),
              (std::vector<std::string>{"Size=4", "Scaling=0", "New fire=8", "Fire type=10"}));
}

TEST_F(SettingsDialogTest, RunningControlsFollowTheTemplateInOrder) {
    UseSettingsFile(nullptr);
    ASSERT_NE(Open("/c"), nullptr);
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ExpectedControl& expected : SettingsControls) {
        ASSERT_NE(child, nullptr) << "missing " << expected.text;
        EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(child)), static_cast<WORD>(expected.id))
            << expected.text;
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        EXPECT_EQ(lstrcmpiA(name, expected.className), 0) << expected.text << ": " << name;
        char text[64] = "";
        GetWindowTextA(child, text, sizeof text);
        if (lstrcmpiA(name, "msctls_trackbar32") != 0) {
            EXPECT_STREQ(text, expected.text);
        }
        // A checked radio button takes the tab stop of its group.
        DWORD style = expected.style;
        if ((style & 0xF) == BS_AUTORADIOBUTTON && Checked(expected.id)) style |= WS_TABSTOP;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), style)
            << std::hex << expected.text;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than the template's";
    char caption[64] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Embrix settings");
    EXPECT_EQ(Press(IDCANCEL), 0u);
}

TEST_F(SettingsDialogTest, CancelAndEscapeWriteNothing) {
    const std::string content = HandEdited("Size=16\r\nNew fire=3\r\n");
    UseSettingsFile(&content);
    ASSERT_NE(Open("/c"), nullptr);
    SendMessageA(Item(SizeQuarter), BM_CLICK, 0, 0);
    ExpectSizeShown(SizeQuarter);
    SendMessageA(Item(NewFireTrackbar), TBM_SETPOS, TRUE, 12);
    SendMessageA(Item(FireTypeTrackbar), TBM_SETPOS, TRUE, 5);
    EXPECT_EQ(Press(IDCANCEL), 0u);
    EXPECT_EQ(ReadWholeFile(SettingsFilePath()), content);

    ASSERT_NE(Open("-C"), nullptr);
    ExpectShown(SizeEighth, 3, 10);
    SendMessageA(Item(SizeSixteenth), BM_CLICK, 0, 0);
    SendMessageA(Item(FireTypeTrackbar), TBM_SETPOS, TRUE, 16);
    EXPECT_EQ(PressKey(VK_ESCAPE), 0u);
    EXPECT_EQ(ReadWholeFile(SettingsFilePath()), content);
}

TEST_F(SettingsDialogTest, HandEditedValuesShowAsTheNearestAndOkStoresWhatIsShown) {
    const std::string content =
        HandEdited("Size=16\r\nNew fire=17\r\nFire type=3\r\nScaling=1\r\n");
    UseSettingsFile(&content);
    ASSERT_NE(Open("/c"), nullptr);
    ExpectShown(SizeEighth, 0, 4);
    EXPECT_EQ(Press(IDOK), 1u);
    EXPECT_EQ(SectionValues(), (std::map<std::string, std::string>{
                                   {"Size", "4"}, {"Scaling", "0"}, {"New fire", "0"},
                                   {"Fire type", "4"}}));
}

TEST_F(SettingsDialogTest, EndsOfTheRangesShowAtTheEndsOfTheTrackbars) {
    const std::string high = HandEdited("Size=8\r\nScaling=0\r\nNew fire=16\r\nFire type=16\r\n");
    UseSettingsFile(&high);
    ASSERT_NE(Open("/c"), nullptr);
    ExpectShown(SizeSixteenth, 16, 16);
    EXPECT_EQ(Press(IDOK), 1u);
    EXPECT_EQ(SectionLines(),
              (std::vector<std::string>{"Size=8", "Scaling=0", "New fire=16", "Fire type=16"}));

    const std::string low = HandEdited("Size=2\r\nNew fire=0\r\nFire type=4\r\n");
    UseSettingsFile(&low);
    ASSERT_NE(Open("/c"), nullptr);
    ExpectShown(SizeQuarter, 0, 4);
    EXPECT_EQ(Press(IDOK), 1u);
    EXPECT_EQ(SectionValues(), (std::map<std::string, std::string>{
                                   {"Size", "2"}, {"Scaling", "0"}, {"New fire", "0"},
                                   {"Fire type", "4"}}));
}

TEST_F(SettingsDialogTest, ChoosingAQuarterStoresTwo) {
    UseSettingsFile(nullptr);
    ASSERT_NE(Open("/c"), nullptr);
    SendMessageA(Item(SizeQuarter), BM_CLICK, 0, 0);
    ExpectSizeShown(SizeQuarter);
    // Even a checked "Fullscreen" is never read: the picture is not stretched.
    SendMessageA(Item(ScalingFullscreen), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(PressKey(VK_RETURN), 1u);
    EXPECT_EQ(SectionLines(),
              (std::vector<std::string>{"Size=2", "Scaling=0", "New fire=8", "Fire type=10"}));
}

TEST_F(SettingsDialogTest, WithoutASwitchTheDialogHasNoOwner) {
    UseSettingsFile(nullptr);
    const std::string saver = SaverPath();
    for (const std::string& commandLine :
         {QuotedCommand(saver, ""), QuotedCommand(saver, " - / -"), "\"" + saver + " /s",
          "\"" + saver + "\""}) {
        ASSERT_NE(OpenWith(commandLine), nullptr) << commandLine;
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr) << commandLine;
        EXPECT_EQ(Press(IDCANCEL), 0u) << commandLine;
    }
    EXPECT_EQ(GetFileAttributesA(SettingsFilePath().c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
