#pragma once
// Resource and control identifiers of the options window and its pages.
// Shared by the resource script and the dialog procedures, so plain #defines
// that windres can read.

// Controls that are never addressed (texts, lines, the banners).
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialogs and bitmaps.
#define IDD_OPTIONS 101
#define IDB_OPTIONS_BANNER 106
#define IDD_ABOUT 107
#define IDB_ABOUT_BANNER 109
#define IDD_SCRIPTING 111
#define IDD_DISPLAY 112
#define IDD_GENERAL 113
#define IDD_STATUS 114

// Resource type of a dialog-initialisation block (RT_DLGINIT).
#define RT_DLGINIT_TYPE 240

// Options window.
#define IDC_ABOUT 1002
#define IDC_HELP_SITE 1003
#define IDC_DISPLAY 1004
#define IDC_SCRIPTING 1005
#define IDC_GENERAL 1008
#define IDC_GREETING 1037
#define IDC_STATUS 1040

// Scripting page.
#define IDC_HIGH_UPDATE_FREQUENCY 1014
#define IDC_SCRIPT_IN_ROOT 1015
#define IDC_SCRIPT 1018

// Display page.
#define IDC_LINE_TEXT 1016
#define IDC_LINE_NUMBER 1017
#define IDC_COLOR_WHITE 1022
#define IDC_COLOR_BLACK 1023
#define IDC_COLOR_GRAY 1024
#define IDC_COLOR_RED 1027
#define IDC_START_LINE 1038

// General page.
#define IDC_ENABLE_SCRIPTING 1020
#define IDC_ENABLE_INGAME_DISPLAY 1021
#define IDC_FADEIN_TARGET 1031
#define IDC_FADEOUT_TARGET 1032
#define IDC_AUTOPAUSE_PAUSE 1034
#define IDC_AUTOPAUSE_VOLUME 1035
#define IDC_AUTOPAUSE_OFF 1036
#define IDC_DELAY_AUTOPAUSE 1039

// Status window.
#define IDC_STATUS_TEXT 1041
#define IDC_COPY_STATUS 1042
