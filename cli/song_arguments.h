#pragma once
// The songs that command-line PATHs name, as build and scan take them.

#include <string>
#include <vector>

#include "base/result.h"

namespace zmr::cli {

// A folder gives its .mid and .kar files (any letter case, not recursive);
// anything else is a song, whatever its name. Sorted into image order. Fails
// with "PATH: reason" for a folder that cannot be listed.
Result<std::vector<std::string>> gatherSongs(const std::vector<std::string>& arguments);

}  // namespace zmr::cli
