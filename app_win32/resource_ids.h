#pragma once
// The numeric ids of the dialog template, the menu and the icon, shared by
// the resource script and the code; the controls and the menu's commands
// have the ids of dialog/dialog_ids.h, which the Qt dialog has too.

#include "dialog/dialog_ids.h"

#define IDD_IMAGE_TOOL 102
#define IDI_APP_ICON 128
#define IDR_MAIN_MENU 129
