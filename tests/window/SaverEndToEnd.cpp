// The built saver as the platform starts it: full screen on a 1024 x 768
// display and as a preview, with its pixels read back from the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const char SettingsSectionName[] = "Screen Saver.Embrix";

std::string SaverPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder + "..\\Embrix.scr";
}

struct Saver {
    PROCESS_INFORMATION process = {};
    bool started = false;

    explicit Saver(const std::string& arguments)
    {
        std::string commandLine = "\"" + SaverPath() + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &process) != 0;
    }
    ~Saver()
    {
        if (!started) return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    // The exit code, or -2 when the process is still running after timeoutMs.
    long ExitCode(DWORD timeoutMs)
    {
        if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) return -2;
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        return static_cast<long>(code);
    }
};

HWND WaitForWindow(HWND parent, const char* className, const char* title, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND found = FindWindowExA(parent, nullptr, className, title);
        if (found) return found;
        Sleep(50);
    }
    return nullptr;
}

// Every colour the fire can show on a true-colour display: the ramp.
const std::set<COLORREF>& RampColors()
{
    static std::set<COLORREF> colors = [] {
        std::set<COLORREF> all;
        auto channel = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
        for (int heat = 0; heat <= 235; ++heat)
            all.insert(RGB(channel(8 * heat), channel(8 * (heat - 32)), channel(8 * (heat - 64))));
        return all;
    }();
    return colors;
}

struct Screenshot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Reads the screen back the way a screenshot does: from the desktop's context.
Screenshot CaptureScreen()
{
    Screenshot shot;
    shot.width = GetSystemMetrics(SM_CXSCREEN);
    shot.height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t* raw = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < shot.width * shot.height; ++i) {
        uint32_t p = raw[i];  // 0x00RRGGBB
        shot.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

struct FireCheck {
    int outsideNonBlack = 0;
    int insideNotRamp = 0;
    int insideLit = 0;
    COLORREF firstStray = 0;
};

// Inside the rectangle only ramp colours and some of them lit; outside it,
// within the area, only black.
FireCheck CheckFire(const Screenshot& shot, RECT area, RECT fire)
{
    FireCheck check;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            COLORREF c = shot.At(x, y);
            bool inside = x >= fire.left && x < fire.right && y >= fire.top && y < fire.bottom;
            if (!inside) {
                check.outsideNonBlack += c != 0;
            } else if (!RampColors().count(c)) {
                if (!check.insideNotRamp) check.firstStray = c;
                ++check.insideNotRamp;
            } else {
                check.insideLit += c != 0;
            }
        }
    }
    return check;
}

void PressKey(WORD key)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

// Runs the queue of this thread while waiting, so its own windows stay alive.
void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

class SaverEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The effect's defaults, and no password.
        WritePrivateProfileStringA(SettingsSectionName, nullptr, nullptr, "control.ini");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword");
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
        ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    }
    void TearDown() override
    {
        WritePrivateProfileStringA(SettingsSectionName, nullptr, nullptr, "control.ini");
    }
};

TEST_F(SaverEndToEnd, FullScreenShowsTheCentredFireAndEndsOnAKey)
{
    Saver saver("/s");
    ASSERT_TRUE(saver.started) << SaverPath();
    HWND window = WaitForWindow(nullptr, "WindowsScreenSaverClass", "Screen Saver", 15000);
    ASSERT_TRUE(window);
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 1024);
    EXPECT_EQ(rect.bottom, 768);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & 0xFFFF0000u, 0x96000000u);

    Sleep(2000);  // the fire needs a few dozen frames to rise
    FireCheck check = CheckFire(CaptureScreen(), {0, 0, 1024, 768}, {384, 288, 640, 480});
    EXPECT_EQ(check.outsideNonBlack, 0);
    EXPECT_EQ(check.insideNotRamp, 0) << std::hex << check.firstStray;
    EXPECT_GT(check.insideLit, 256) << "the fire burns";

    SetForegroundWindow(window);
    PressKey(VK_SPACE);
    long code = saver.ExitCode(10000);
    if (code == -2) {  // input went elsewhere; the message itself must still end it
        PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
        code = saver.ExitCode(10000);
        ADD_FAILURE() << "the key press did not reach the saver";
    }
    EXPECT_EQ(code, 0);
}

TEST_F(SaverEndToEnd, StretchedFireCoversTheWholeScreen)
{
    WritePrivateProfileStringA(SettingsSectionName, "Scaling", "1", "control.ini");
    Saver saver("/s");
    HWND window = WaitForWindow(nullptr, "WindowsScreenSaverClass", "Screen Saver", 15000);
    ASSERT_TRUE(window);
    Sleep(2000);
    Screenshot shot = CaptureScreen();
    FireCheck check = CheckFire(shot, {0, 0, 1024, 768}, {0, 0, 1024, 768});
    EXPECT_EQ(check.insideNotRamp, 0) << std::hex << check.firstStray;
    int litBottomRows = 0;  // stretched 4x: the fire reaches the bottom edge
    for (int x = 0; x < 1024; ++x) litBottomRows += shot.At(x, 766) != 0;
    EXPECT_GT(litBottomRows, 50);
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(saver.ExitCode(10000), 0);
}

TEST_F(SaverEndToEnd, SecondFullScreenRunBringsTheFirstForward)
{
    Saver first("/s");
    HWND window = WaitForWindow(nullptr, "WindowsScreenSaverClass", "Screen Saver", 15000);
    ASSERT_TRUE(window);
    Saver second("/s");
    EXPECT_EQ(second.ExitCode(15000), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(first.ExitCode(0), -2) << "the first still runs";
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(first.ExitCode(10000), 0);
}

TEST_F(SaverEndToEnd, PreviewDrawsInsideItsParentAndEndsWithIt)
{
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = DefWindowProcA;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.lpszClassName = "EmbrixPreviewParent";
    RegisterClassA(&parentClass);
    // 152 x 112 of client area: a popup without a frame has no more.
    HWND parent = CreateWindowExA(0, "EmbrixPreviewParent", "Preview parent",
                                  WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 500, 500, 152, 112,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    Saver saver("/p " + std::to_string(reinterpret_cast<uintptr_t>(parent)));
    HWND preview = nullptr;
    DWORD start = GetTickCount();
    while (!preview && GetTickCount() - start < 15000) {
        PumpFor(50);
        preview = FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", "Preview");
    }
    ASSERT_TRUE(preview);
    RECT client = {};
    GetClientRect(preview, &client);
    EXPECT_EQ(client.right, 152);
    EXPECT_EQ(client.bottom, 112);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(preview, GWL_STYLE)) & 0xFFFF0000u, 0x52000000u);

    // What a process draws into another's child is not shown here; lend the
    // preview to the desktop for the look, then give it back.
    SetParent(preview, GetDesktopWindow());
    SetWindowPos(preview, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    PumpFor(1500);
    FireCheck check = CheckFire(CaptureScreen(), {0, 0, 152, 112}, {57, 42, 57 + 38, 42 + 28});
    EXPECT_EQ(check.outsideNonBlack, 0);
    EXPECT_EQ(check.insideNotRamp, 0) << std::hex << check.firstStray;
    EXPECT_GT(check.insideLit, 10);
    SetParent(preview, parent);

    DestroyWindow(parent);
    EXPECT_EQ(saver.ExitCode(10000), 0);
}

}  // namespace
