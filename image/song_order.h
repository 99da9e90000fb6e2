#pragma once
// The order of songs in an image: full paths compared byte by byte after ASCII
// lower-casing, ties broken by the raw bytes. The command line and the dialog's
// sorted list use the same order, so both compile the same image.

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace zmr {

bool songPathLess(std::string_view a, std::string_view b);

void sortSongPaths(std::vector<std::string>& paths);

// True for names ending in .mid or .kar in any letter case.
bool hasSongExtension(std::string_view name);

// The regular files of `folder` (symbolic links followed, not recursive) whose
// names end in .mid or .kar, each as the folder, one separator, and the name;
// in the order the folder lists them. The separator is '/', and on Windows the
// folder's own: '\\' unless the folder is written with '/' alone.
Result<std::vector<std::string>> listSongFolder(const std::string& folder);

}  // namespace zmr
