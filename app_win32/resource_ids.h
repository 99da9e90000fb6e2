#pragma once
// The numeric ids of the dialog template, the menu and the icon, shared by
// the resource script and the code; the controls and the menu's commands
// have the ids of dialog/dialog_ids.h, which the Qt dialog has too.

#include "dialog/dialog_ids.h"

#define IDD_IMAGE_TOOL 102
#define IDI_APP_ICON 128
#define IDR_MAIN_MENU 129

// The controls of the "Preview..." window.
#define IDC_PREVIEW_SONGS 1100
#define IDC_PREVIEW_LYRICS 1101
#define IDC_PREVIEW_PLAY 1102
#define IDC_PREVIEW_PAUSE 1103
#define IDC_PREVIEW_STOP 1104
#define IDC_PREVIEW_POSITION 1105
#define IDC_PREVIEW_TIME 1106
