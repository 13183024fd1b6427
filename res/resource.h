// Ids of the program's resources and of the controls in its dialog templates.
#pragma once

// Dialogs and strings
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDD_OPTIONS 103
#define IDM_ABOUTBOX 0x0010  // system-menu command
#define IDC_STATIC (-1)      // a static without an id of its own

// Icon, skin bitmaps, cursor
#define IDR_MAINFRAME 128
#define IDB_MAIN_SKIN 129
#define IDC_LINK_HAND 143
#define IDB_ABOUT_SKIN 144

// PNG strips (type "PNG"), four frames side by side
#define IDP_OPTIONS 134
#define IDP_ABOUT 135
#define IDP_CLOSE 136
#define IDP_MINIMISE 137
#define IDP_PHOTO_DIR 138
#define IDP_OUTPUT_DIR 140
#define IDP_ORGANIZE 141
#define IDP_STOP 142
#define IDP_ABOUT_OK 145
#define IDP_DIALOG_OK 146
#define IDP_DIALOG_CANCEL 147
#define IDP_RESTORE_DEFAULT 148
#define IDP_UNDO_LAST 149
#define IDP_ADD_RAW 150
#define IDP_OPEN_OUTPUT 151

// The strips and the two window bitmaps drawn at 150 % and 200 % (res/images/150 and 200, all
// "PNG"), for screens of 144 and 192 DPI: the 100 % image's id plus these (skin/global.h).
#define IDR_AT150 0x1000
#define IDR_AT200 0x2000

// Main window controls
#define IDC_BTN_PHOTO_DIR 1001
#define IDC_BTN_OUTPUT_DIR 1003
#define IDC_EDIT_UNUSED 1004
#define IDC_BTN_ORGANIZE 1005
#define IDC_CHK_DELETE_SRC 1006
#define IDC_BTN_STOP 1007
#define IDC_BTN_CLOSE 1009
#define IDC_BTN_MIN 1010
#define IDC_BTN_OPTIONS 1011
#define IDC_BTN_ABOUT 1012
#define IDC_MAKER_LINK 1013
#define IDC_MESSAGE 1018
#define IDC_PATH_SRC 1019
#define IDC_PATH_TAR 1020
#define IDC_BTN_OPEN_OUTPUT 1021

// About box controls
#define IDC_ABOUT_WEB 1014
#define IDC_ABOUT_MAIL 1015
#define IDC_ABOUT_TITLE 1016
#define IDC_ABOUT_ICON 1017
#define IDC_ABOUT_QQ 1018

// Options dialog controls (OK and Cancel are IDOK and IDCANCEL)
#define IDC_OPT_TITLE 1100
#define IDC_OPT_CLOSE 1101
#define IDC_OPT_FILTERS 1102
#define IDC_OPT_FILTERS_DEFAULT 1103
#define IDC_OPT_BY_YEAR 1104
#define IDC_OPT_LAYOUT 1105
#define IDC_OPT_MEDIA_DATES 1106
#define IDC_OPT_SKIP_IDENTICAL 1107
#define IDC_OPT_RENAME_CLASHES 1108
#define IDC_OPT_SIDECARS 1109
#define IDC_OPT_JOURNAL 1110
#define IDC_OPT_UNDO 1111
#define IDC_OPT_LABEL 1112  // the labels before the filter box and the layout list
#define IDC_OPT_NOTE 1113   // the one-line explanations under the controls
#define IDC_OPT_RAW_FOLDER 1114
#define IDC_OPT_ADD_RAW 1115
