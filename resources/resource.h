// Resource identifiers.
#pragma once

#define IDI_TOVAK 107
#define IDR_ACCELERATORS 109
#define IDM_ABOUT_KEYS 104

// The screen-size dialog and its controls (visit and exit are the command ids 3 and 2; exit is
// also the dialog's cancel command).
#define IDD_SELECT_SIZE 129
#define IDC_SIZE_LIST 1002
#define IDC_SIZE_PLAY 1003
#define IDC_SIZE_PROMPT 1004
#define IDC_SIZE_VISIT 3
#define IDC_SIZE_EXIT 2

// The game screen's close button: a 16 x 14 bitmap.
#define IDB_CLOSE_BUTTON 136
