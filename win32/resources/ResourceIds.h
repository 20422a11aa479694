// Resource identifiers shared by the resource script and the code. Plain
// macros: the resource compiler reads this file too.
#pragma once

#define IDS_DESCRIPTION 1  // the name under which the platform lists the saver
#define IDS_SHORT_NAME 100
#define IDS_NO_HELP_MEMORY 107
#define IDS_HELP_FILE 108
#define IDS_SETTINGS_FILE 1001
#define IDS_SCREEN_SAVER 1002
#define IDS_SETTINGS_SECTION 1007

#define IDI_EMBRIX 125

#define IDD_FIRE_SETTINGS 2003
#define IDC_SIZE_SIXTEENTH 1007  // "1 / 16": size 8
#define IDC_SIZE_EIGHTH 1008     // "1 / 8": size 4
#define IDC_SIZE_QUARTER 1009    // "1 / 4": size 2
#define IDC_SCALING_NORMAL 1010
#define IDC_SCALING_FULLSCREEN 1011
#define IDC_FIRE_TYPE 1018
#define IDC_NEW_FIRE 1019
