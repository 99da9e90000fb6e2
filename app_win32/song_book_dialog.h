#pragma once
// "Song Book...": the save dialog that names the book. The Windows build
// writes the book as HTML, which any browser prints.

#include <windows.h>

#include <optional>
#include <string>

namespace zmr::win32 {

// Asks where to save the book, starting at `suggested`; the chosen path, or
// nothing when cancelled. Leaves the current directory, where the next image
// goes, as it was.
std::optional<std::wstring> askForSongBookPath(HWND owner, const std::wstring& suggested);

}  // namespace zmr::win32
