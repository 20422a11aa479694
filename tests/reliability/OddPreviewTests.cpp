// The built saver's preview inside parents of odd client sizes, from nothing
// at all to larger than the screen, with the default grid and with one cell
// per pixel: it opens at the parent's size, keeps running, and ends with 0
// when the parent goes.
#include <gtest/gtest.h>

#include <string>

#include "support/KeptSettings.h"
#include "support/SaverProcess.h"

namespace {

struct OddParent {
    int width, height;  // client area asked for
    const char* size;   // "Size" in the settings file, or null for none
};

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// A frameless pop-up, so that its client area is the whole window.
HWND MakeParent(int width, int height)
{
    static ATOM registered = 0;
    if (!registered) {
        WNDCLASSA parentClass = {};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.hInstance = GetModuleHandleA(nullptr);
        parentClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        parentClass.lpszClassName = "EmbrixOddPreviewParent";
        registered = RegisterClassA(&parentClass);
    }
    return CreateWindowExA(0, "EmbrixOddPreviewParent", "Odd preview parent",
                           WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

class OddPreview : public ::testing::TestWithParam<OddParent> {
protected:
    void SetUp() override
    {
        const OddParent& p = GetParam();
        ASSERT_TRUE(WriteSettingsSection(p.size ? std::string("Size=") + p.size + "\r\n" : ""));
        parent = MakeParent(p.width, p.height);
        ASSERT_TRUE(parent);
    }
    void TearDown() override
    {
        if (parent && IsWindow(parent)) DestroyWindow(parent);
    }
    KeptSettings kept;
    HWND parent = nullptr;
};

TEST_P(OddPreview, OpensAndEndsWithItsParent)
{
    RECT client = {};
    GetClientRect(parent, &client);
    // The platform may not give every size asked for; the saver must cope
    // with whatever the parent really has.
    RecordProperty("client", std::to_string(client.right) + "x" + std::to_string(client.bottom));
    EXPECT_EQ(client.right, GetParam().width);
    EXPECT_EQ(client.bottom, GetParam().height);

    SaverProcess run;
    const std::string handle = std::to_string(reinterpret_cast<ULONG_PTR>(parent));
    ASSERT_TRUE(StartSaver(SaverPath(), "/p " + handle, run)) << SaverPath();
    HWND preview = WaitForPreview(parent, run);
    ASSERT_TRUE(preview) << "no preview inside the parent";
    RECT inside = {};
    GetClientRect(preview, &inside);
    EXPECT_EQ(inside.right, client.right);
    EXPECT_EQ(inside.bottom, client.bottom);

    // Frames run meanwhile, on whatever grid this size gives.
    Pump(1000);
    EXPECT_TRUE(StillRunning(run)) << "the preview ended on its own";
    EXPECT_TRUE(IsWindow(preview));

    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_EQ(WaitForExit(run), 0u);
}

const OddParent OddParents[] = {
    {0, 0, nullptr},      {1, 1, nullptr},   {2, 2, nullptr},   {5, 3, nullptr},
    {7, 7, nullptr},      {4000, 3000, nullptr},
    {0, 0, "1"},          {1, 1, "1"},       {2, 2, "1"},       {5, 3, "1"},
    {7, 7, "1"},          {4000, 3000, "1"},
};

std::string ParentName(const ::testing::TestParamInfo<OddParent>& tested)
{
    const OddParent& p = tested.param;
    return std::to_string(p.width) + "x" + std::to_string(p.height) + "Size" +
           (p.size ? p.size : "Default");
}

INSTANTIATE_TEST_SUITE_P(Parents, OddPreview, ::testing::ValuesIn(OddParents),
                         ParentName);

}  // namespace
