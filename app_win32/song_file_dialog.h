#pragma once
// The file-open dialog of "Add Files...".

#include <windows.h>

#include <optional>
#include <string>

namespace zmr::win32 {

// The two filters, "Karaoke File (*.kar)" first and selected, and the name
// "All file" filled in. The name need not exist: confirming it takes the
// whole folder. The confirmed full path, or nothing when it was cancelled.
std::optional<std::wstring> askForSongPath(HWND owner);

}  // namespace zmr::win32
