#pragma once
// The numeric ids of both dialogs' controls and menu commands, one table for
// the Qt widgets, the Win32 code and the Win32 resource script (which is why
// they are macros: the resource compiler only preprocesses). Tests and users'
// scripts find a control by its id whatever its text.

// The buttons: "Quit" is the dialog's OK, the hidden "Cancel" its Escape and
// close box (IDOK and IDCANCEL to Windows).
#define IDC_QUIT 1
#define IDC_CANCEL 2
#define IDC_CREATE_IMAGE 3
#define IDC_REMOVE 4
#define IDC_SONG_LIST 1000
#define IDC_PROGRESS_BAR 1001

// Menu "File".
#define ID_FILE_ADD_FILES 32771
#define ID_FILE_EXIT 32772
#define ID_FILE_SONG_BOOK 32773
#define ID_FILE_PREVIEW 32780
// Menu "Options": "Text Encoding" and its four choices, then the two switches.
#define ID_TEXT_VIQR_VNI 32774
#define ID_TEXT_UTF8 32775
#define ID_TEXT_CP1258 32776
#define ID_TEXT_AUTO 32777
#define ID_KAR_TEXT 32778
#define ID_LENIENT 32779
