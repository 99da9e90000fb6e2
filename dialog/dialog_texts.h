#pragma once
// The words both dialogs show that are not a widget's own label: the
// captions, the window titles of a compilation, and the program's help.

#include <string_view>

#include "image/compile_sinks.h"

namespace zmr::dialog {

inline constexpr char kDialogCaption[] = "ZMR Disc Image Tool";
inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kWarningCaption[] = "Warning";
inline constexpr char kProgramName[] = "zmrimage-gui";

// The window title while a compilation is in `state`; it stays until the next.
std::string_view windowTitle(CompileState state);

// --help: what the program does, and its scripted steps.
inline constexpr char kHelpDescription[] =
    "Gathers karaoke songs (.mid, .kar) into a list and compiles them into DADEDA00.DEZ and\n"
    "SongList.txt in the current directory, which \"Add Files...\" sets to the folder it adds.\n"
    "The options below script the dialog: they run in this order once the window shows,\n"
    "and the window then stays open until it is closed.";
inline constexpr char kAddFolderHelp[] =
    "Add the .mid and .kar files of the folder, as confirming \"Add Files...\" there does; "
    "it becomes the current directory. May be given more than once.";
inline constexpr char kCreateImageHelp[] = "Then press \"Create Image\".";
inline constexpr char kPreviewHelp[] =
    "Then open \"Preview...\" on the image in the output folder and play song <number>.";

}  // namespace zmr::dialog
