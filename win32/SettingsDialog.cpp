#include "win32/SettingsDialog.h"

#include <commctrl.h>

#include "win32/FireSettingsFile.h"
#include "win32/resources/ResourceIds.h"

namespace {

constexpr int32_t NewFireLowest = 0;
constexpr int32_t NewFireHighest = 16;
constexpr int32_t FireTypeLowest = 4;
constexpr int32_t FireTypeHighest = 16;

// Range first, then the stored value, shown only when it fits: one out of
// range leaves the trackbar where setting the range put it. Ticks every 2
// positions, a page of 4.
int32_t ShowOnTrackbar(HWND trackbar, int32_t lowest, int32_t highest, const char* key,
                       int32_t defaultValue)
{
    SendMessageA(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(lowest, highest));
    const int32_t value = ReadFireSetting(key, defaultValue);
    if (value >= lowest && value <= highest) SendMessageA(trackbar, TBM_SETPOS, TRUE, value);
    SendMessageA(trackbar, TBM_SETTICFREQ, 2, 10);
    SendMessageA(trackbar, TBM_SETPAGESIZE, 0, 4);
    return value;
}

void ShowFireSettings(HWND dialog)
{
    FireSettings.size = ReadFireSetting(SizeKey, 4);
    int sizeButton = IDC_SIZE_EIGHTH;
    if (FireSettings.size == 2) sizeButton = IDC_SIZE_QUARTER;
    if (FireSettings.size == 8) sizeButton = IDC_SIZE_SIXTEENTH;
    SendDlgItemMessageA(dialog, sizeButton, BM_SETCHECK, BST_CHECKED, 0);

    // Stretching is not offered, whatever the file says.
    FireSettings.scaling = ReadFireSetting(ScalingKey, 0);
    SendDlgItemMessageA(dialog, IDC_SCALING_NORMAL, BM_SETCHECK, BST_CHECKED, 0);

    FireSettings.newFire = ShowOnTrackbar(GetDlgItem(dialog, IDC_NEW_FIRE), NewFireLowest,
                                          NewFireHighest, NewFireKey, 8);
    FireSettings.fireType = ShowOnTrackbar(GetDlgItem(dialog, IDC_FIRE_TYPE), FireTypeLowest,
                                           FireTypeHighest, FireTypeKey, 10);
}

bool IsChecked(HWND dialog, int button)
{
    return SendDlgItemMessageA(dialog, button, BM_GETCHECK, 0, 0) != 0;
}

int32_t TrackbarPosition(HWND dialog, int trackbar)
{
    return static_cast<int32_t>(SendMessageA(GetDlgItem(dialog, trackbar), TBM_GETPOS, 0, 0));
}

void StoreFireSettings(HWND dialog)
{
    int32_t size = 4;
    if (IsChecked(dialog, IDC_SIZE_SIXTEENTH))
        size = 8;
    else if (IsChecked(dialog, IDC_SIZE_EIGHTH))
        size = 4;
    else if (IsChecked(dialog, IDC_SIZE_QUARTER))
        size = 2;
    FireSettings.size = size;
    WriteFireSetting(SizeKey, size);

    FireSettings.scaling = 0;
    WriteFireSetting(ScalingKey, 0);

    FireSettings.newFire = TrackbarPosition(dialog, IDC_NEW_FIRE);
    WriteFireSetting(NewFireKey, FireSettings.newFire);

    FireSettings.fireType = TrackbarPosition(dialog, IDC_FIRE_TYPE);
    WriteFireSetting(FireTypeKey, FireSettings.fireType);
}

}  // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        ShowFireSettings(dialog);
        return TRUE;  // the dialog manager puts the focus on the first tab stop
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            StoreFireSettings(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

// The common-controls library is among the program's imports and registers
// the trackbar class when it is loaded.
BOOL WINAPI RegisterDialogControls(HINSTANCE)
{
    return TRUE;
}
