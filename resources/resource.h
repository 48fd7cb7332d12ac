// Resource ids of lumivex.
#pragma once

// String table (the first block: ids 1 to 14).
#define IDS_GAMMA 1
#define IDS_CHROMA 2
#define IDS_ON 3
#define IDS_OFF 4
#define IDS_TARGET_SEPARATOR 5
#define IDS_IS 6
#define IDS_CORRECTION 7
#define IDS_DESKTOP 8
#define IDS_VIDEO 9
#define IDS_DESKTOP_NOT_AVAILABLE 10
#define IDS_VIDEO_NOT_AVAILABLE 11
#define IDS_BRIGHTNESS 12
#define IDS_CONTRAST 13
#define IDS_ABOUT 14

// Dialog templates.
#define IDD_VIDEO_CHROMA 103
#define IDD_DESKTOP_GAMMA 104
#define IDD_ABOUT 105

// The application icon (tray and About box).
#define IDI_LUMIVEX 104

// Faces of the correction dialog's bitmap buttons.
#define IDB_RESET_PRESSED 113
#define IDB_CANCEL_PRESSED 114
#define IDB_RESET_FOCUSED 115
#define IDB_OK_FOCUSED 116
#define IDB_RESET_NORMAL 117
#define IDB_OK_NORMAL 118
#define IDB_CANCEL_FOCUSED 119
#define IDB_OK_PRESSED 120
#define IDB_CANCEL_NORMAL 121
#define IDB_LOCKED 122
#define IDB_UNLOCKED 123

// Controls of the correction dialogs (OK and Cancel are IDOK and IDCANCEL).
#define IDC_ON_OFF 1004
#define IDC_LOCK 1005
#define IDC_BRIGHTNESS 1009
#define IDC_CONTRAST 1010
#define IDC_RESET 1013
#define IDC_RED_SCROLL 1025
#define IDC_GREEN_SCROLL 1026
#define IDC_BLUE_SCROLL 1027
#define IDC_RED_EDIT 1029
#define IDC_GREEN_EDIT 1030
#define IDC_BLUE_EDIT 1031
