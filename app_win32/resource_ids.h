#pragma once
// The numeric ids of the dialog template, its controls, the menu and the
// icon: shared by the resource script and the code. The menu's commands have
// the Qt dialog's ids.

#define IDD_IMAGE_TOOL 102
#define IDI_APP_ICON 128
#define IDR_MAIN_MENU 129

// IDOK (1) is the "Quit" button, IDCANCEL (2) the hidden "Cancel" button.
#define IDC_CREATE_IMAGE 3
#define IDC_REMOVE 4
#define IDC_SONG_LIST 1000
#define IDC_PROGRESS_BAR 1001

#define ID_FILE_ADD_FILES 32771
#define ID_FILE_EXIT 32772
#define ID_FILE_SONG_BOOK 32773
// Menu "Options": the four text encodings, then the two switches.
#define ID_TEXT_VIQR_VNI 32774
#define ID_TEXT_UTF8 32775
#define ID_TEXT_CP1258 32776
#define ID_TEXT_AUTO 32777
#define ID_KAR_TEXT 32778
#define ID_LENIENT 32779

// "Preview..." (the Qt dialog's id) and the controls of its window.
#define ID_FILE_PREVIEW 32780
#define IDC_PREVIEW_SONGS 1100
#define IDC_PREVIEW_LYRICS 1101
#define IDC_PREVIEW_PLAY 1102
#define IDC_PREVIEW_PAUSE 1103
#define IDC_PREVIEW_STOP 1104
#define IDC_PREVIEW_POSITION 1105
#define IDC_PREVIEW_TIME 1106
