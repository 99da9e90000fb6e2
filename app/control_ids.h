#pragma once
// The numeric ids of the dialog's controls and menu commands. Each widget and
// menu action carries its id as the property kControlIdProperty, so tests and
// users' scripts find a control by its id whatever its text.

namespace zmr::gui {

inline constexpr char kControlIdProperty[] = "controlId";

enum ControlId : int {
    kIdQuit = 1,          // the dialog's OK button
    kIdCancel = 2,        // hidden; Escape and the close box act as it
    kIdCreateImage = 3,
    kIdRemove = 4,
    kIdSongList = 1000,
    kIdProgressBar = 1001,
    kIdAddFiles = 32771,  // menu "File", "Add Files..."
    kIdExit = 32772,      // menu "File", "Exit"
    kIdSongBook = 32773,  // menu "File", "Song Book..."
    // menu "Options": "Text Encoding" and its four choices, then the two switches
    kIdTextViqrVni = 32774,
    kIdTextUtf8 = 32775,
    kIdTextCp1258 = 32776,
    kIdTextAuto = 32777,
    kIdKarText = 32778,
    kIdLenient = 32779,
    kIdPreview = 32780,   // menu "File", "Preview..."
};

}  // namespace zmr::gui
