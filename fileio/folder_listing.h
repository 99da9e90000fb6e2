#pragma once
// Listing one folder's files as paths written the way the folder was: the
// folder's own text, one separator, and the name. Songs are found this way by
// the command line and both dialogs, so the paths they compile, and the order
// built on them, are the same whoever lists the folder.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace zmr {

// The regular files of `folder` (symbolic links followed, not recursive) whose
// names `wanted` accepts, in the order the folder lists them. The separator is
// '/', and on Windows the folder's own: '\\' unless the folder is written with
// '/' alone.
Result<std::vector<std::string>> listFolderFiles(const std::string& folder,
                                                 const std::function<bool(std::string_view name)>& wanted);

}  // namespace zmr
