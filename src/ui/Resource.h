#pragma once
// Resource and control identifiers of the options window and its pages.
// Shared by the resource script and the dialog procedures.

#define IDD_OPTIONS 101
#define IDB_OPTIONS_BANNER 106
#define IDD_ABOUT 107
#define IDB_ABOUT_BANNER 109
#define IDD_SCRIPTING 111
#define IDD_DISPLAY 112
#define IDD_GENERAL 113
